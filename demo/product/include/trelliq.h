/* trelliq.h - declarations of the Trelliq coverage run-time (demo product). */
#ifndef TRELLIQ_H
#define TRELLIQ_H

#ifdef __cplusplus
extern "C" {
#endif

/* Writes the counters gathered so far to the coverage file (TRQFILE). */
void trq_save(void);

/* Sets all counters to zero. */
void trq_reset(void);

#ifdef __cplusplus
}
#endif

#endif
