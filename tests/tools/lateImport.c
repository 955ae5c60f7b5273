/* A program for check-program's test: it imports GetTickCount64 (first exported by Windows
   Vista), GetCurrentProcessorNumber (Vista too, and not in the table) and CreateSemaphoreW
   (a table row that says never to import it). */
#include <windows.h>

int main(void)
{
    HANDLE semaphore = CreateSemaphoreW(NULL, 0, 1, NULL);
    return (int)(GetTickCount64() & 1) + (int)GetCurrentProcessorNumber() + (semaphore != NULL);
}
