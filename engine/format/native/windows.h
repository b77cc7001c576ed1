// Stand-in for the few Windows types and lock calls the record-file reader
// uses, so that it also builds natively on Linux for the sanitizers and the
// fuzzer. Never on the include path of the Windows build.
#pragma once

#include <pthread.h>
#include <stdint.h>

typedef uint16_t WORD;
// The engine's public header names these; the native build calls none of them.
#define WINAPI
#define CALLBACK
typedef struct HWND__* HWND;
typedef uint32_t DWORD;

typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME;

// A critical section is re-entrant: so is this mutex.
typedef struct {
    pthread_mutex_t mutex;
} CRITICAL_SECTION;

inline void InitializeCriticalSection(CRITICAL_SECTION* cs) {
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&cs->mutex, &attr);
    pthread_mutexattr_destroy(&attr);
}
inline void DeleteCriticalSection(CRITICAL_SECTION* cs) { pthread_mutex_destroy(&cs->mutex); }
inline void EnterCriticalSection(CRITICAL_SECTION* cs) { pthread_mutex_lock(&cs->mutex); }
inline void LeaveCriticalSection(CRITICAL_SECTION* cs) { pthread_mutex_unlock(&cs->mutex); }
