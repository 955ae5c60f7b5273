// unguessable: 64 random bits for names and guards that nobody else may predict.
#pragma once

// The system's random generator (RtlGenRandom, Windows XP and later, looked up at run
// time), else the high-resolution counter, the clock, the process and thread ids and the
// stack's address, mixed so that every input bit moves every output bit.
unsigned long long unguessable();
