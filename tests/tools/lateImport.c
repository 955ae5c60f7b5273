/* A program for check-program's test: it imports GetTickCount64 (first exported by Windows
   Vista) and GetCurrentProcessorNumber (Vista too, and not in the table). */
#include <windows.h>

int main(void)
{
    return (int)(GetTickCount64() & 1) + (int)GetCurrentProcessorNumber();
}
