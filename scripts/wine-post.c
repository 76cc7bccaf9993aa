/* Posts one message to the first top-level window of a class, from inside a Wine desktop (windows
 * of another desktop cannot be found):  wine-post.exe CLASS MESSAGE WPARAM [LPARAM] */
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  HWND target = FindWindowA(argv[1], NULL);
  if (!target) return 1;
  const LPARAM lp = argc > 4 ? (LPARAM)strtol(argv[4], NULL, 0) : 0;
  return PostMessageA(target, (UINT)strtoul(argv[2], NULL, 0), (WPARAM)strtoul(argv[3], NULL, 0), lp) ? 0 : 1;
}
