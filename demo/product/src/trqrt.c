/* trqrt.c - the Trelliq coverage run-time, source form (demo product). */
#include "trelliq.h"

void trq_save(void)
{
}

void trq_reset(void)
{
}
