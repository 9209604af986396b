#pragma once

// Pixel loops marked with this are built twice, for the baseline processor and with wider vector
// lanes, and the wider one is picked at load time where the processor has it. Only for loops whose
// results do not depend on the width: integer sums, or float steps the compiler keeps in order.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QUORIL_WIDE_LANES __attribute__((target_clones("avx2", "default")))
#else
#define QUORIL_WIDE_LANES
#endif
