// The vesk module: the same core commands as the window and vesk-cli,
// in-process, for scripts and notebooks.
#include <pybind11/pybind11.h>

#include "Computation.h"
#include "Results.h"
#include "ScriptProblem.h"

namespace vesk::python {
void RegisterLp(pybind11::module_& m);
}

PYBIND11_MODULE(vesk, m) {
  m.doc() =
      "Vesk: multicriteria sorting with imprecise information. vesk.Problem reads, builds and changes problems "
      "and runs the robust assignments, the inconsistency analysis and the volume computation; vesk.lp solves "
      "linear and mixed-integer programs with Vesk's engine. Computations release the interpreter lock and stop "
      "on Ctrl+C (KeyboardInterrupt, the problem unchanged).";
#ifdef VESK_VERSION
  m.attr("__version__") = VESK_VERSION;
#endif
  vesk::python::RegisterErrors(m);
  vesk::python::RegisterResults(m);
  vesk::python::RegisterProblem(m);
  vesk::python::RegisterLp(m);
}
