// The program's allocation operators, straight onto the C runtime's heap.
//
// The program allocates only with new (std::nothrow) and checks for null, so
// nothing here throws. The library's own operators would bring in the whole
// exception machinery (unwinder, personality routine, the demangler of the
// terminate handler), several times the size of the program itself.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size != 0 ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size != 0 ? size : 1); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
