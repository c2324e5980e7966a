// The program's own DComplex_error. The library calls the hook through its
// exported symbol, so this definition receives every report. It is compiled
// into each executable rather than archived in zucalc_core: nothing in the
// program references it, and an unreferenced archive member is never linked.
#include "report.h"

int DComplex_error(c_exception& e) { return zucalc::record_report(e); }
