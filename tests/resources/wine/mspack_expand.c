/* Expands an SZDD file with libmspack: mspack_expand IN OUT. Exit status 0 on success. */
#include <mspack.h>
#include <stdio.h>

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: mspack_expand IN OUT\n");
    return 2;
  }
  struct msszdd_decompressor* d = mspack_create_szdd_decompressor(NULL);
  if (d == NULL) return 1;
  int error = d->decompress(d, argv[1], argv[2]);
  mspack_destroy_szdd_decompressor(d);
  if (error != MSPACK_ERR_OK) fprintf(stderr, "mspack_expand: %s: error %d\n", argv[1], error);
  return error == MSPACK_ERR_OK ? 0 : 1;
}
