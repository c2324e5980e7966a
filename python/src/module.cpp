// zu_complex._ufuncs: every function of the library as a NumPy ufunc.
//
// The ufuncs are instances of zu_complex.ufunc, a subclass of numpy.ufunc
// made here in C: NumPy computes, broadcasts and casts as for any ufunc, and
// the subclass only wraps each call (and reduce, accumulate, reduceat, outer,
// at) so that, once NumPy has returned and the GIL is held again, the reports
// the library made on this thread during the call are handed to Python
// (zu_complex/_errstate.py), which turns them into warnings, an exception or
// collected records as zu_complex.errstate chose.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#define NPY_NO_DEPRECATED_API NPY_1_7_API_VERSION
#include <numpy/arrayobject.h>
#include <numpy/ufuncobject.h>

#include "loops.h"
#include "reports.h"

#include <cstddef>

namespace zu_python {
namespace {

// ---------------------------------------------------------------------------
// The ufuncs and their loops
// ---------------------------------------------------------------------------

constexpr int kMaxLoops = 5;
constexpr char C = NPY_CDOUBLE;
constexpr char D = NPY_DOUBLE;
constexpr char I = NPY_INT32;
constexpr char L = NPY_INT64;
constexpr char N = NPY_INT;  // the library's int results of == and !=

// NumPy keeps pointers to these arrays: they live as long as the process.
struct UfuncEntry {
    const char* name;
    int nin;
    int ntypes;
    PyUFuncGenericFunction functions[kMaxLoops];
    char types[kMaxLoops * 3];
    const char* doc;
};

void* g_no_data[kMaxLoops] = {};

// NumPy picks the first loop whose operand types the inputs cast to safely,
// so the loops with real operands come before the complex ones: a float64
// operand then reaches the library's mixed overload instead of being made
// complex first.
UfuncEntry g_ufuncs[] = {
    {"exp", 1, 1, {unary_loop<Exp>}, {C, C},
     "The library's exp. Overflow is reported when the real exp of the real part overflows."},
    {"log", 1, 1, {unary_loop<Log>}, {C, C}, "The library's log: (log abs z, arg z); log of zero is (-inf, +0)."},
    {"log10", 1, 1, {unary_loop<Log10>}, {C, C}, "The library's log10: log10(e) * log(z) by the complex product."},
    {"sqrt", 1, 1, {unary_loop<Sqrt>}, {C, C},
     "The library's sqrt, in polar form with factors within 2**-49 of zero made exactly zero."},
    {"sin", 1, 1, {unary_loop<Sin>}, {C, C},
     "The library's sin = -i sinh(i z); its overflows are reported as sinh's."},
    {"cos", 1, 1, {unary_loop<Cos>}, {C, C}, "The library's cos = cosh(i z); its overflows are reported as cosh's."},
    {"tan", 1, 1, {unary_loop<Tan>}, {C, C},
     "The library's tan = sin / cos; a zero cosine is a singularity. Beyond |im| > 710 it is (nan, nan)."},
    {"sinh", 1, 1, {unary_loop<Sinh>}, {C, C}, "The library's sinh; overflow is reported beyond |re| > 710."},
    {"cosh", 1, 1, {unary_loop<Cosh>}, {C, C}, "The library's cosh; overflow is reported beyond |re| > 710."},
    {"tanh", 1, 1, {unary_loop<Tanh>}, {C, C}, "The library's tanh = sinh / cosh; a zero cosh is a singularity."},
    {"asin", 1, 1, {unary_loop<Asin>}, {C, C},
     "The library's asin = -i log(i z + sqrt(1 - z*z)); a zero argument of the log is a singularity."},
    {"acos", 1, 1, {unary_loop<Acos>}, {C, C},
     "The library's acos = -i log(z + i sqrt(1 - z*z)); a zero argument of the log is a singularity."},
    {"atan", 1, 1, {unary_loop<Atan>}, {C, C},
     "The library's atan = (i/2)(log(i + z) - log(i - z)); z = i and z = -i are singularities."},
    {"conj", 1, 1, {unary_loop<Conj>}, {C, C}, "The library's conj: the imaginary part's sign bit flipped."},
    {"negative", 1, 1, {unary_loop<Negative>}, {C, C}, "The library's unary minus: both sign bits flipped."},
    {"ceil", 1, 1, {unary_loop<Ceil>}, {C, C}, "The library's ceil, part by part."},
    {"floor", 1, 1, {unary_loop<Floor>}, {C, C}, "The library's floor, part by part."},
    {"round", 1, 1, {unary_loop<Round>}, {C, C},
     "The library's round, part by part: halves away from zero, round(-0.0) = +0.0."},
    {"abs", 1, 1, {unary_loop<Abs>}, {C, D}, "The library's abs (float64): scaled; abs of (-0.0, 0) is -0.0."},
    {"norm", 1, 1, {unary_loop<Norm>}, {C, D}, "The library's norm (float64): re*re + im*im, unscaled."},
    {"arg", 1, 1, {unary_loop<Arg>}, {C, D}, "The library's arg (float64): atan2(im, re); nan for zero."},
    {"real", 1, 1, {unary_loop<Real>}, {C, D}, "The real part (float64)."},
    {"imag", 1, 1, {unary_loop<Imag>}, {C, D}, "The imaginary part (float64)."},
    {"polar", 2, 1, {binary_loop<Polar>}, {D, D, C},
     "The library's polar(r, theta) on two float64 operands: (nan, nan) for an infinite theta."},
    {"add", 2, 4, {binary_loop<AddRR>, binary_loop<AddRC>, binary_loop<AddCR>, binary_loop<AddCC>},
     {D, D, C, D, C, C, C, D, C, C, C, C},
     "The library's +; a float64 operand uses the mixed overload, which keeps the other part unchanged."},
    {"subtract", 2, 4,
     {binary_loop<SubtractRR>, binary_loop<SubtractRC>, binary_loop<SubtractCR>, binary_loop<SubtractCC>},
     {D, D, C, D, C, C, C, D, C, C, C, C},
     "The library's -; a float64 operand uses the mixed overload: 1.0 - (2, +0) is (-1, -0)."},
    {"multiply", 2, 1, {binary_loop<Multiply>}, {C, C, C}, "The library's product."},
    {"divide", 2, 1, {binary_loop<Divide>}, {C, C, C},
     "The library's quotient (Smith's method; a zero divisor gives IEEE infinities or nans)."},
    {"hypot", 2, 1, {binary_loop<Hypot>}, {C, C, C}, "The library's hypot: sqrt(a*a + b*b) in complex arithmetic."},
    {"pow", 2, 5,
     {binary_loop<PowCI>, binary_loop<PowCL>, binary_loop<PowCD>, binary_loop<PowRC>, binary_loop<PowCC>},
     {C, I, C, C, L, C, C, D, C, D, C, C, C, C, C},
     "The library's pow, the overload chosen by the operand types: an integer exponent gives pow(z, int) "
     "(an int64 beyond the int range: pow(z, double)), a float64 exponent pow(z, double), a float64 base "
     "pow(double, w), two complex operands pow(z, w)."},
    {"equal", 2, 1, {binary_loop<Equal>}, {C, C, N}, "The library's == as its int 1 or 0 (intc)."},
    {"not_equal", 2, 1, {binary_loop<NotEqual>}, {C, C, N}, "The library's != as its int 1 or 0 (intc)."},
};

// ---------------------------------------------------------------------------
// Handing the reports to Python
// ---------------------------------------------------------------------------

PyObject* g_state = nullptr;       // ContextVar: (mode word, (singularity collector, overflow collector))
PyObject* g_dispatcher = nullptr;  // zu_complex._errstate._deliver
vectorcallfunc g_numpy_call = nullptr;

PyObject* complex_of(const DComplex& z) { return PyComplex_FromDoubles(z.re, z.im); }

// The buffer's reports as Python objects, handed to the dispatcher with the
// state they were made under. Returns the dispatcher's answer (new reference)
// or null with an exception set.
PyObject* deliver(PyObject* state, const ReportBuffer& buffer) {
    PyObject* groups = PyList_New(0);
    PyObject* records = PyList_New(0);
    PyObject* answer = nullptr;
    if (groups == nullptr || records == nullptr) goto done;
    for (const Group& g : buffer.groups()) {
        PyObject* item = Py_BuildValue("(isNNK)", static_cast<int>(g.first.kind), g.first.function,
                                       complex_of(g.first.argument), complex_of(g.first.returned),
                                       static_cast<unsigned long long>(g.count));
        if (item == nullptr || PyList_Append(groups, item) < 0) {
            Py_XDECREF(item);
            goto done;
        }
        Py_DECREF(item);
    }
    for (const Record& r : buffer.records()) {
        PyObject* item = Py_BuildValue("(isNN)", static_cast<int>(r.kind), r.function, complex_of(r.argument),
                                       complex_of(r.returned));
        if (item == nullptr || PyList_Append(records, item) < 0) {
            Py_XDECREF(item);
            goto done;
        }
        Py_DECREF(item);
    }
    answer = PyObject_CallFunction(g_dispatcher, "OOOK", state, groups, records,
                                   static_cast<unsigned long long>(buffer.dropped()));
done:
    Py_XDECREF(groups);
    Py_XDECREF(records);
    return answer;
}

// Runs `call` (NumPy's own work) with a fresh report buffer active on this
// thread, then delivers what was reported. The result is returned unless the
// delivery raises ('raise' mode, a warning filter set to error, ...), after
// NumPy has written every element.
template <class Call>
PyObject* with_reports(Call call) {
    PyObject* state = nullptr;
    if (PyContextVar_Get(g_state, nullptr, &state) < 0) return nullptr;
    if (!PyTuple_Check(state) || PyTuple_GET_SIZE(state) != 2) {
        Py_DECREF(state);
        PyErr_SetString(PyExc_TypeError, "zu_complex: the errstate was replaced by something else");
        return nullptr;
    }
    const unsigned long modes = PyLong_AsUnsignedLong(PyTuple_GET_ITEM(state, 0));
    if (modes == static_cast<unsigned long>(-1) && PyErr_Occurred()) {
        Py_DECREF(state);
        return nullptr;
    }
    ReportBuffer buffer(static_cast<unsigned>(modes));
    PyObject* result;
    {
        ActiveBuffer active(&buffer);
        result = call();
    }
    // A call NumPy failed keeps its exception; its reports are dropped.
    if (result == nullptr || buffer.empty() || g_dispatcher == nullptr) {
        Py_DECREF(state);
        return result;
    }
    PyObject* answer = deliver(state, buffer);
    Py_DECREF(state);
    if (answer == nullptr) {
        Py_DECREF(result);
        return nullptr;
    }
    Py_DECREF(answer);
    return result;
}

// ---------------------------------------------------------------------------
// zu_complex.ufunc
// ---------------------------------------------------------------------------

PyObject* ufunc_vectorcall(PyObject* self, PyObject* const* args, size_t nargsf, PyObject* kwnames) {
    return with_reports([&] { return g_numpy_call(self, args, nargsf, kwnames); });
}

// numpy.ufunc's methods, wrapped like the call.
const char* const g_method_names[] = {"reduce", "accumulate", "reduceat", "outer", "at"};
constexpr std::size_t kMethods = sizeof g_method_names / sizeof g_method_names[0];
PyObject* g_base_methods[kMethods] = {};

template <std::size_t M>
PyObject* wrapped_method(PyObject* self, PyObject* args, PyObject* kwargs) {
    return with_reports([&]() -> PyObject* {
        PyObject* base = g_base_methods[M];
        PyObject* bound = Py_TYPE(base)->tp_descr_get(base, self, reinterpret_cast<PyObject*>(Py_TYPE(self)));
        if (bound == nullptr) return nullptr;
        PyObject* r = PyObject_Call(bound, args, kwargs);
        Py_DECREF(bound);
        return r;
    });
}

// Pickled by name (dask.distributed sends the ufuncs to its workers this
// way): pickle finds the module that holds the object under that name.
PyObject* ufunc_reduce_ex(PyObject* self, PyObject*) {
    return PyUnicode_FromString(reinterpret_cast<PyUFuncObject*>(self)->name);
}

PyObject* ufunc_repr(PyObject* self) {
    return PyUnicode_FromFormat("<zu_complex ufunc '%s'>", reinterpret_cast<PyUFuncObject*>(self)->name);
}

PyMethodDef g_ufunc_methods[] = {
    {"reduce", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(wrapped_method<0>)),
     METH_VARARGS | METH_KEYWORDS, "numpy.ufunc.reduce, with the library's reports delivered after it."},
    {"accumulate", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(wrapped_method<1>)),
     METH_VARARGS | METH_KEYWORDS, "numpy.ufunc.accumulate, with the library's reports delivered after it."},
    {"reduceat", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(wrapped_method<2>)),
     METH_VARARGS | METH_KEYWORDS, "numpy.ufunc.reduceat, with the library's reports delivered after it."},
    {"outer", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(wrapped_method<3>)),
     METH_VARARGS | METH_KEYWORDS, "numpy.ufunc.outer, with the library's reports delivered after it."},
    {"at", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(wrapped_method<4>)),
     METH_VARARGS | METH_KEYWORDS, "numpy.ufunc.at, with the library's reports delivered after it."},
    {"__reduce__", ufunc_reduce_ex, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

PyTypeObject g_ufunc_type = {PyVarObject_HEAD_INIT(nullptr, 0)};

int ready_ufunc_type() {
    // numpy.ufunc is not subclassable from Python; a C type with its layout
    // is. Calls go through the vectorcall slot of each instance, which
    // make_ufunc points at ufunc_vectorcall.
    g_ufunc_type.tp_name = "zu_complex.ufunc";
    g_ufunc_type.tp_basicsize = PyUFunc_Type.tp_basicsize;
    g_ufunc_type.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_HAVE_VECTORCALL;
    g_ufunc_type.tp_base = &PyUFunc_Type;
    g_ufunc_type.tp_call = PyVectorcall_Call;
    g_ufunc_type.tp_vectorcall_offset = offsetof(PyUFuncObject, vectorcall);
    g_ufunc_type.tp_methods = g_ufunc_methods;
    g_ufunc_type.tp_repr = ufunc_repr;
    g_ufunc_type.tp_str = ufunc_repr;
    g_ufunc_type.tp_doc = nullptr;
    for (std::size_t m = 0; m < kMethods; ++m) {
        g_base_methods[m] = PyDict_GetItemString(PyUFunc_Type.tp_dict, g_method_names[m]);
        if (g_base_methods[m] == nullptr || Py_TYPE(g_base_methods[m])->tp_descr_get == nullptr) {
            PyErr_Format(PyExc_ImportError, "numpy.ufunc has no method '%s'", g_method_names[m]);
            return -1;
        }
        Py_INCREF(g_base_methods[m]);
    }
    if (PyType_Ready(&g_ufunc_type) < 0) return -1;
    // PyType_Ready stores the type's own (empty) __doc__, which would hide
    // numpy.ufunc's per-instance docstrings (signature and text).
    if (PyDict_DelItemString(g_ufunc_type.tp_dict, "__doc__") < 0) return -1;
    PyType_Modified(&g_ufunc_type);
    return 0;
}

PyObject* make_ufunc(UfuncEntry& entry) {
    PyObject* u = PyUFunc_FromFuncAndData(entry.functions, g_no_data, entry.types, entry.ntypes, entry.nin, 1,
                                          PyUFunc_None, entry.name, entry.doc, 0);
    if (u == nullptr) return nullptr;
    auto* uf = reinterpret_cast<PyUFuncObject*>(u);
    if (g_numpy_call == nullptr) g_numpy_call = uf->vectorcall;
    if (uf->vectorcall != g_numpy_call || g_numpy_call == nullptr) {
        Py_DECREF(u);
        PyErr_SetString(PyExc_ImportError, "unexpected numpy.ufunc call slot");
        return nullptr;
    }
    uf->vectorcall = ufunc_vectorcall;
    // Same layout, static types on both sides: no reference to move.
    Py_SET_TYPE(u, &g_ufunc_type);
    return u;
}

// ---------------------------------------------------------------------------
// The module
// ---------------------------------------------------------------------------

PyObject* set_dispatcher(PyObject*, PyObject* callable) {
    if (!PyCallable_Check(callable)) {
        PyErr_SetString(PyExc_TypeError, "the dispatcher must be callable");
        return nullptr;
    }
    Py_INCREF(callable);
    Py_XSETREF(g_dispatcher, callable);
    Py_RETURN_NONE;
}

PyMethodDef g_module_methods[] = {
    {"_set_dispatcher", set_dispatcher, METH_O,
     "Sets the function that receives each call's reports: f(state, groups, records, dropped)."},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef g_module = {
    PyModuleDef_HEAD_INIT, "zu_complex._ufuncs",
    "The library's functions as NumPy ufuncs (use the zu_complex package).", -1, g_module_methods,
    nullptr, nullptr, nullptr, nullptr,
};

PyObject* init_module() {
    import_array1(nullptr);
    import_umath1(nullptr);
    if (ready_ufunc_type() < 0) return nullptr;

    PyObject* m = PyModule_Create(&g_module);
    if (m == nullptr) return nullptr;
    Py_INCREF(&g_ufunc_type);
    if (PyModule_AddObject(m, "ufunc", reinterpret_cast<PyObject*>(&g_ufunc_type)) < 0) goto fail;

    {
        // Default: every kind 'warn', no collectors.
        PyObject* initial = Py_BuildValue("(i(OO))", 0, Py_None, Py_None);
        if (initial == nullptr) goto fail;
        g_state = PyContextVar_New("zu_complex.errstate", initial);
        Py_DECREF(initial);
        if (g_state == nullptr) goto fail;
        Py_INCREF(g_state);
        if (PyModule_AddObject(m, "_state", g_state) < 0) {
            Py_DECREF(g_state);
            goto fail;
        }
    }

    for (UfuncEntry& entry : g_ufuncs) {
        PyObject* u = make_ufunc(entry);
        if (u == nullptr) goto fail;
        if (PyModule_AddObject(m, entry.name, u) < 0) {
            Py_DECREF(u);
            goto fail;
        }
    }
    return m;
fail:
    Py_DECREF(m);
    return nullptr;
}

}  // namespace
}  // namespace zu_python

PyMODINIT_FUNC PyInit__ufuncs(void) { return zu_python::init_module(); }
