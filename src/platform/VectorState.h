#pragma once

// Marks the upper halves of the processor's vector registers as unused.
//
// The toolkit's raster routines (filling and composing the layers, drawing lines and text)
// use the wide vector registers and can return with their upper halves still in use. Plain
// scalar floating-point code compiled for the baseline instruction set then runs several
// times slower on processors that merge those halves into every such instruction: the
// smoothing of a 2901-point sweep then takes about three times as long right after a redraw
// as otherwise. A long numeric loop that may follow drawing calls this once before
// it starts. It changes no register the compiler uses and no result; on a processor without
// these registers it does nothing.
inline void ReleaseUpperVectorState()
{
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
    if (__builtin_cpu_supports("avx"))
        __asm__ volatile("vzeroupper" ::: "memory");
#endif
}
