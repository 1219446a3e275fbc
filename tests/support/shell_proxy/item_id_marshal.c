/* The user marshaling of ItemIdList (shell_proxy.idl): a list travels as a
   ULONG byte count, 0 for a null list, then every SHITEMID and the zero cb
   that ends the list.  Unmarshaled lists are allocated with the task
   allocator, as the shell's callers free them. */
#include <windows.h>
#include <objbase.h>
#include <string.h>

#include "shell_proxy.h"

/* A list longer than this is taken as damaged and sent as null. */
#define LONGEST_LIST 65536u

static ULONG ListBytes(const BYTE *list) {
  ULONG total = 0;
  if (!list) return 0;
  for (;;) {
    USHORT cb;
    memcpy(&cb, list + total, sizeof cb);
    if (cb == 0) return total + sizeof cb;
    total += cb;
    if (total > LONGEST_LIST) return 0;
  }
}

static unsigned char *Aligned(unsigned char *buffer) {
  return (unsigned char *)(((ULONG_PTR)buffer + 3) & ~(ULONG_PTR)3);
}

ULONG __RPC_USER ItemIdList_UserSize(ULONG *flags, ULONG start, ItemIdList *list) {
  (void)flags;
  return ((start + 3) & ~3u) + sizeof(ULONG) + ListBytes((const BYTE *)*list);
}

unsigned char *__RPC_USER ItemIdList_UserMarshal(ULONG *flags, unsigned char *buffer, ItemIdList *list) {
  const ULONG size = ListBytes((const BYTE *)*list);
  (void)flags;
  buffer = Aligned(buffer);
  memcpy(buffer, &size, sizeof size);
  buffer += sizeof size;
  if (size) memcpy(buffer, *list, size);
  return buffer + size;
}

unsigned char *__RPC_USER ItemIdList_UserUnmarshal(ULONG *flags, unsigned char *buffer, ItemIdList *list) {
  ULONG size;
  (void)flags;
  buffer = Aligned(buffer);
  memcpy(&size, buffer, sizeof size);
  buffer += sizeof size;
  *list = NULL;
  if (size >= sizeof(USHORT) && size <= LONGEST_LIST) {
    *list = CoTaskMemAlloc(size);
    if (*list) memcpy(*list, buffer, size);
  }
  return buffer + size;
}

void __RPC_USER ItemIdList_UserFree(ULONG *flags, ItemIdList *list) {
  (void)flags;
  CoTaskMemFree(*list);
  *list = NULL;
}
