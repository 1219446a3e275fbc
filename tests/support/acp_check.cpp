// Stops the Windows test run early and clearly when Wine does not run the
// programs with the Japanese ANSI code page: every stored text of Tessaly is
// code page 932, and under 1252 those texts would pass unnoticed.
#include <windows.h>

#include <cstdio>

int main() {
  UINT acp = GetACP();
  if (acp != 932) {
    std::printf("GetACP() is %u, not 932: run Wine with LC_ALL=ja_JP.UTF-8 (see scripts/wine-env.sh)\n", acp);
    return 1;
  }
  std::printf("GetACP() is 932\n");
  return 0;
}
