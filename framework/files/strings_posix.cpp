#include "framework/files/strings.h"

// Code page 932, the program's code page wherever no system names another.
int IsLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC) ? 1 : 0; }
