#include "platform/number_text.h"

#include <cstring>

int FormatNumberedName(char* out, std::size_t capacity, const char* before, unsigned long number, const char* after) {
  char digits[24];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  std::size_t beforeLength = std::strlen(before);
  std::size_t afterLength = std::strlen(after);
  std::size_t length = beforeLength + count + afterLength;
  if (length >= capacity) {
    if (capacity > 0) out[0] = '\0';
    return -1;
  }
  std::memcpy(out, before, beforeLength);
  for (std::size_t i = 0; i < count; ++i) out[beforeLength + i] = digits[count - 1 - i];
  std::memcpy(out + beforeLength + count, after, afterLength + 1);
  return static_cast<int>(length);
}
