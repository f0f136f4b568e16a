/* The yardstick of bench/throughput.sh: the simplest table-driven annotator. It maps every
 * character of a GB2312 file through a 94 x 94 table of 6-byte readings (the first numbered
 * reading of each character, blank-padded; 6 blanks for anything else) and writes, for every
 * line, one line of those readings, the whole output in one call.
 *
 *   yardstick TABLE SOURCE TARGET
 * TABLE: lines of a GB2312 character, a TAB and its readings (tolvane-cli table numbered, in
 * GB2312). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static char table[94 * 94][6];

static char* read_all(const char* path, size_t* size) {
  FILE* f = fopen(path, "rb");
  if (!f) {
    perror(path);
    exit(1);
  }
  fseek(f, 0, SEEK_END);
  long n = ftell(f);
  fseek(f, 0, SEEK_SET);
  char* data = malloc((size_t)n + 1);
  if (!data || fread(data, 1, (size_t)n, f) != (size_t)n) {
    perror(path);
    exit(1);
  }
  fclose(f);
  *size = (size_t)n;
  return data;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: yardstick TABLE SOURCE TARGET\n");
    return 2;
  }
  memset(table, ' ', sizeof table);
  size_t tableSize, size;
  char* t = read_all(argv[1], &tableSize);
  for (size_t i = 0; i + 3 < tableSize;) {
    unsigned char lead = (unsigned char)t[i], trail = (unsigned char)t[i + 1];
    size_t j = i + 3, k = 0;
    char* cell = table[(lead - 0xA1) * 94 + (trail - 0xA1)];
    while (j < tableSize && t[j] != '/' && t[j] != '\n' && k < 6) cell[k++] = t[j++];
    while (i < tableSize && t[i] != '\n') i++;
    i++;
  }
  char* in = read_all(argv[2], &size);
  char* out = malloc(size * 6 + 16);
  size_t o = 0;
  for (size_t i = 0; i < size; i++) {
    unsigned char c = (unsigned char)in[i];
    if (c == '\r' || c == '\n') {
      out[o++] = '\r';
      out[o++] = '\n';
      if (c == '\r' && i + 1 < size && in[i + 1] == '\n') i++;
    } else if (c >= 0xA1 && c <= 0xFE && i + 1 < size && (unsigned char)in[i + 1] >= 0xA1) {
      memcpy(out + o, table[(c - 0xA1) * 94 + ((unsigned char)in[i + 1] - 0xA1)], 6);
      o += 6;
      i++;
    } else {
      memset(out + o, ' ', 6);
      o += 6;
    }
  }
  FILE* f = fopen(argv[3], "wb");
  if (!f || fwrite(out, 1, o, f) != o || fclose(f) != 0) {
    perror(argv[3]);
    return 1;
  }
  return 0;
}
