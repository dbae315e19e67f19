// Runs the disc search or the install probe on the real platform and prints the answer.
#include "launcher/disc_locator.h"
#include "launcher/install_record.h"

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  if (argc >= 3 && strcmp(argv[1], "find") == 0) {
    char buffer[MAX_PATH];
    memset(buffer, 0xbd, sizeof buffer);
    if (FindGameDisc(atoi(argv[2]), buffer))
      printf("found %s\n", buffer);
    else
      printf("not found%s\n", (unsigned char)buffer[0] == 0xbd ? "" : " (buffer written)");
    return 0;
  }
  if (argc >= 2 && strcmp(argv[1], "probe") == 0) {
    ProbeInstallation();
    printf("%s\n", g_gameInstalled ? "installed" : "not installed");
    return 0;
  }
  printf("usage: locator_probe find N | probe\n");
  return 2;
}
