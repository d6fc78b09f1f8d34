#pragma once

// Marks a pixel-row function to be compiled once per instruction-set level, the best one chosen
// when the program loads. The byte shuffles that 3-byte pixels need come only with SSSE3, so the
// baseline x86-64 build would otherwise leave these loops scalar.
#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones) && !defined(__SANITIZE_ADDRESS__)
#define MIRASKETCH_VECTOR_CLONES __attribute__((target_clones("avx2", "ssse3", "default")))
#endif
#endif
#ifndef MIRASKETCH_VECTOR_CLONES
#define MIRASKETCH_VECTOR_CLONES
#endif
