/* The C99 column of the conventions table: glibc's <complex.h> functions,
 * called from C on double _Complex. */
#ifndef ZU_ACCURACY_C99_H
#define ZU_ACCURACY_C99_H

#ifdef __cplusplus
extern "C" {
#endif

/* Writes name(a + ib), or (a + ib) * (c + id) for "a * b", to out[0] (real
 * part) and out[1]; the names are those of the accuracy catalogue. Returns 0
 * for a name it does not know. */
int acc_c99(const char* name, double a, double b, double c, double d, double out[2]);

#ifdef __cplusplus
}
#endif

#endif /* ZU_ACCURACY_C99_H */
