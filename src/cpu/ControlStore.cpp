// The control store: loading the image (cpu/ControlImage.h) and the patches of
// the model selection and the fetch switch.
#include "cpu/ControlStore.h"
#include "cpu/ControlImage.h"

namespace korva {

McEntry Microcode[McStoreSize];
uint32_t MicrocodeEdits = 0;

void LoadMicrocode() {
  image::ForEachImageWord([](uint32_t at, McEntry e) { Microcode[at] = e; });
  ++MicrocodeEdits;
}

void InitMicrocode() {
  for (auto& e : Microcode) e = {McUnfilled, 0};
  LoadMicrocode();
}

void PatchMicrocodeCalls(Mcr from, Mcr to) {
  for (auto& e : Microcode)
    if (e.Kind == McCall && e.Arg == McrNumber(from)) e.Arg = McrNumber(to);
  ++MicrocodeEdits;
}

void PatchMicrocodeCall(uint32_t at, Mcr m) {
  if (at >= McStoreSize) return;
  Microcode[at].Arg = McrNumber(m);
  ++MicrocodeEdits;
}

}  // namespace korva
