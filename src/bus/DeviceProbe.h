// A small call record kept by the device stand-ins, so that tests can see which
// register a bus access reached, with what index and value, and in what order
// relative to the event pumps. The real devices drop it when they replace the
// stand-ins.
#pragma once
#include <cstdint>

namespace korva {

struct DeviceProbe {
  uint32_t Reads = 0;
  uint32_t Writes = 0;
  const char* LastRegister = "";  // name of the register property last called
  uint32_t LastIndex = 0;         // its index, for indexed registers
  uint16_t LastValue = 0;         // the value last written
  void Read(const char* reg, uint32_t index = 0) {
    ++Reads;
    LastRegister = reg;
    LastIndex = index;
  }
  void Write(const char* reg, uint32_t index, uint16_t value) {
    ++Writes;
    LastRegister = reg;
    LastIndex = index;
    LastValue = value;
  }
  void Clear() { *this = DeviceProbe{}; }
};

// The indexed register file of a stand-in: N registers (N a power of two), the
// index cut into range, every access recorded in Probe.
template <typename T, uint32_t N>
class ProbedRegisterFile {
  static_assert((N & (N - 1)) == 0, "the index mask needs a power of two");

 public:
  T Reg(uint32_t index) {
    Probe.Read("Reg", index);
    return regs_[index & (N - 1)];
  }
  void Reg(uint32_t index, T v) {
    Probe.Write("Reg", index, v);
    regs_[index & (N - 1)] = v;
  }

  DeviceProbe Probe;

 protected:
  T regs_[N] = {};
};

// The byte registers of a stand-in with named register properties: N of them
// stored, each access recorded in Probe under the property's name. A register
// number beyond the stored ones reads 0 and keeps nothing.
template <uint32_t N>
class ProbedNamedRegisters {
 public:
  DeviceProbe Probe;

 protected:
  uint8_t Get(uint32_t n, const char* name) {
    Probe.Read(name);
    return n < N ? regs_[n] : 0;
  }
  void Set(uint32_t n, const char* name, uint8_t v) {
    Probe.Write(name, 0, v);
    if (n < N) regs_[n] = v;
  }
  void ClearRegisters() {
    for (auto& r : regs_) r = 0;
  }

  uint8_t regs_[N] = {};
};

}  // namespace korva
