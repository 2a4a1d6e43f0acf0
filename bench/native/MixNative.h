// The loops of bench/mix.s written in C, run natively beside the guest run.
#pragma once
#include <cstdint>

// The source block of the copy loop, filled once before the first timing.
void FillNativeSource();
// Seconds for one outer iteration of the mode's loops (1 copy, 2 ALU, 3 both) run natively.
double NativeSecondsPerIteration(uint32_t mode);
