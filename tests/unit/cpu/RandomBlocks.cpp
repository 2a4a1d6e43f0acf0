#include "unit/cpu/RandomBlocks.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <initializer_list>
#include <optional>

#include "support/InstructionEncoder.h"
#include "tables/McNames.h"
#include "tables/OpMapEntry.h"

namespace korva::test {

using namespace block_layout;
using namespace m68k;

const char* PumpActionName(PumpAction a) {
  switch (a) {
    case PumpAction::RaiseAbort: return "raise Abort";
    case PumpAction::RaiseEntry19: return "raise entry 19";
    case PumpAction::RaiseClock: return "raise clock";
    case PumpAction::WithdrawClock: return "withdraw clock";
    case PumpAction::RaiseKeyboard: return "raise keyboard";
    case PumpAction::WithdrawKeyboard: return "withdraw keyboard";
    case PumpAction::StartDiskCommand: return "start disk command";
    case PumpAction::ChangeThrottle: return "change throttle";
  }
  return "?";
}

namespace {

// The vectors whose handler counts the exception and returns.
constexpr uint8_t kCountedVectors[] = {5, 6, 7, 9, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 0x46, 0x4E};
constexpr uint8_t kClockVector = 0x4C, kKeyboardVector = 0x42, kDiskVector = 0x44;
constexpr uint8_t kEnterSupervisorTrap = 14, kEndTrap = 15;

uint32_t CounterOf(uint8_t vector) { return kCounters + 4u * vector; }

// ---------------------------------------------------------------------------
// The choices of one block: splitmix64, the same sequence on every platform.
class Choices {
 public:
  explicit Choices(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t Below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(Next() % n); }
  int32_t Between(int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(Below(static_cast<uint32_t>(hi - lo + 1)));
  }
  bool Chance(uint32_t percent) { return Below(100) < percent; }
  uint32_t Any32() { return static_cast<uint32_t>(Next() >> 16); }
  // An index picked by the weights.
  size_t Weighted(std::initializer_list<uint32_t> weights) {
    uint32_t total = 0;
    for (uint32_t w : weights) total += w;
    uint32_t r = Below(total);
    size_t i = 0;
    for (uint32_t w : weights) {
      if (r < w) return i;
      r -= w;
      ++i;
    }
    return 0;
  }
  // A value that is often one of the edges of a size.
  uint32_t Value() {
    static constexpr uint32_t kEdges[] = {0,          1,          2,          0x7F,       0x80,       0xFF,
                                          0x7FFF,     0x8000,     0xFFFF,     0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                          0xFFFFFFFE, 0x00010000, 0x99999999, 0x00000009};
    switch (Below(4)) {
      case 0: return kEdges[Below(std::size(kEdges))];
      case 1: return Below(64);
      default: return Any32();
    }
  }

 private:
  uint64_t state_;
};

uint32_t SignExtendWord(uint32_t v) { return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(v))); }

// ---------------------------------------------------------------------------
// Where operands may lie.
struct Region {
  uint32_t From, To;  // [From, To)
  bool Holds(int64_t a, uint32_t bytes) const { return a >= From && a + bytes <= To; }
};
constexpr Region kLowDataRegion{kLowData, kLowDataEnd}, kMainDataRegion{kMainData, kMainDataEnd};
constexpr Region kWriteRegions[] = {{kSupervisorStack, kLowDataEnd}, kMainDataRegion};
// Where a freshly chosen address for a write goes (the stacks are written through A7).
constexpr Region kWriteTargets[] = {kLowDataRegion, kMainDataRegion, kMainDataRegion};
constexpr Region kReadTargets[] = {kLowDataRegion, kMainDataRegion, {kCode, kTableEnd}, {0, kCounters + 0x400}};

bool Writable(int64_t a, uint32_t bytes) {
  return std::any_of(std::begin(kWriteRegions), std::end(kWriteRegions),
                     [&](const Region& r) { return r.Holds(a, bytes); });
}
bool Readable(int64_t a, uint32_t bytes) { return a >= 0 && a + bytes <= kReadableEnd; }

enum class Use : uint8_t { Read, Write, Modify };

bool Fits(int64_t a, Size s, Use use, uint32_t bytes = 0) {
  if (bytes == 0) bytes = Bytes(s);
  if (s != Size::Byte && (a & 1) != 0) return false;
  return use == Use::Read ? Readable(a, bytes) : Writable(a, bytes);
}

// The addressing modes an operand may take, as a set.
enum ModeBit : uint32_t {
  kDn = 1u << Ea::DReg, kAn = 1u << Ea::AReg, kInd = 1u << Ea::Ind, kPost = 1u << Ea::PostInc,
  kPre = 1u << Ea::PreDec, kDisp = 1u << Ea::Disp, kIndex = 1u << Ea::Index, kAbsW = 1u << Ea::AbsW,
  kAbsL = 1u << Ea::AbsL, kPcDisp = 1u << Ea::PcDisp, kPcIndex = 1u << Ea::PcIndex, kImm = 1u << Ea::Imm,
};
constexpr uint32_t kMemAlterable = kInd | kPost | kPre | kDisp | kIndex | kAbsW | kAbsL;
constexpr uint32_t kDataAlterable = kDn | kMemAlterable;
constexpr uint32_t kData = kDataAlterable | kPcDisp | kPcIndex | kImm;
constexpr uint32_t kControl = kInd | kDisp | kIndex | kAbsW | kAbsL | kPcDisp | kPcIndex;
constexpr uint32_t kMemoryRead = kMemAlterable | kPcDisp | kPcIndex;

// An operand picked for an instruction: its address (memory operands) and the
// change it makes to its address register.
struct Operand {
  Ea E;
  int64_t Address = -1;
  int StepReg = -1;
  int32_t Step = 0;
};

// What the generator knows of a register.
struct Tracked {
  bool Known = false;
  uint32_t Value = 0;
};

// The machine as the code written so far leaves it.
struct TrackState {
  Tracked D[8], A[8];  // A[7] is the active stack pointer
  bool Supervisor = true;
  uint32_t OtherSp = 0;  // USP in supervisor state, SSP in user state
  bool Linked = false;   // A6 holds a LINK frame
  uint32_t Vbr = 0;
};

// ---------------------------------------------------------------------------
class BlockGenerator {
 public:
  BlockGenerator(uint64_t seed, CpuModel model) : c_(seed), code_(kCode) {
    b_.Seed = seed;
    b_.Model = model;
  }
  RandomBlock Make();

 private:
  bool IsCpu32() const { return b_.Model == Cpu32; }
  bool IsMc68000() const { return b_.Model == Cpu68000; }

  // ---- writing instructions ----
  uint32_t Begin() {
    starts_.push_back(code_.Pc());
    return code_.Pc();
  }
  // Whether the opcode written at `at` is an instruction of the model, allowed
  // in the present state.
  bool Legal(uint32_t at) const {
    const OpMapEntry& e = OpMap[code_.At(at)];
    const uint32_t s = e.SupervisorStart;
    if (s == McIllegal || s == McIllegal2 || s == McLine1010 || s == McLine1111 || s == McTableLookup) return false;
    return st_.Supervisor || e.Privileged == 0;
  }
  // Runs `write`; when it gives up, the code and the tracked state are as before.
  template <class F>
  bool Try(F&& write) {
    const TrackState saved = st_;
    const uint32_t pc = code_.Pc();
    const size_t starts = starts_.size();
    const int hot = hot_;
    if (write()) return true;
    st_ = saved;
    code_.Truncate(pc);
    starts_.resize(starts);
    hot_ = hot;
    return false;
  }

  // ---- registers ----
  void Clobber(int dn) { st_.D[dn] = {}; }
  void SetD(int dn, uint32_t v) { st_.D[dn] = {true, v}; }
  void SetA(int an, uint32_t v) { st_.A[an] = {true, v}; }
  // A data register the instruction may write.
  int WritableD() { return static_cast<int>(c_.Below(8)); }
  // An address register the instruction may write (never A7; A6 only outside a LINK frame).
  int WritableA() { return static_cast<int>(c_.Below(st_.Linked ? 6 : 7)); }
  // Whether the active stack may stand at sp: even, and in supervisor state
  // with room for nested exception frames below it. (A MOVE to USP may have
  // left the user stack pointer anywhere.)
  bool StackOk(int64_t sp) const {
    if ((sp & 1) != 0) return false;
    return st_.Supervisor ? sp >= kSupervisorStack + 0x300 && sp <= kSupervisorStackTop
                          : sp >= kUserStack + 0x40 && sp <= kUserStackTop;
  }
  uint32_t StepOf(int an, Size s) const { return s == Size::Byte && an == 7 ? 2u : Bytes(s); }

  // ---- operands ----
  uint32_t TargetIn(const Region& r, uint32_t bytes, bool even);
  std::optional<Operand> Pick(Size s, Use use, uint32_t modes, uint32_t pcExtOffset = 2, uint32_t bytes = 0);
  std::optional<Operand> PickOfKind(Ea::Kind k, Size s, Use use, uint32_t pcExtOffset, uint32_t bytes);
  void Apply(const Operand& o) {
    if (o.StepReg >= 0) st_.A[o.StepReg].Value += static_cast<uint32_t>(o.Step);
    if (o.E.IsMemory() && hot_ > 0) --hot_;
  }
  std::optional<Operand> PickApplied(Size s, Use use, uint32_t modes, uint32_t pcExtOffset = 2, uint32_t bytes = 0) {
    std::optional<Operand> o = Pick(s, use, modes, pcExtOffset, bytes);
    if (o) Apply(*o);
    return o;
  }
  Size AnySize() { return static_cast<Size>(c_.Weighted({3, 3, 4})); }
  Size WordOrLong() { return c_.Chance(50) ? Size::Word : Size::Long; }

  // ---- the kinds of instruction ----
  bool Move();
  bool MoveToAn();
  bool MoveQuick();
  bool AluToDn();
  bool AluToMemory();
  bool AluImmediate();
  bool AddSubQuick();
  bool Unary();
  bool ExtendedArithmetic();
  bool ShiftRegister();
  bool ShiftMemory();
  bool BitOperation();
  bool MultiplyDivide();
  bool RegisterMisc();
  bool AddressArithmetic();
  bool Movem();
  bool Movep();
  bool LinkOrUnlink();
  bool ExceptionInstruction();
  bool ConditionCodes();
  bool SupervisorInstruction();
  bool DevicePoke();
  bool Unmap();
  bool CopyLoop();
  bool ForwardBranch();
  bool Cpu32Instruction();
  bool Reseat();
  bool Simple();
  bool One();

  void MakeState();
  void MakeMemory();
  void MakeEvents();

  Choices c_;
  InstructionEncoder code_;
  RandomBlock b_;
  TrackState st_;
  std::vector<uint32_t> starts_;
  int hot_ = 0;         // memory operands still drawn to the unmapped page
  bool dataPage_ = false;  // the unmapped page is a data page
  bool traced_ = false;    // the block prefers the trace bit set
};

uint32_t BlockGenerator::TargetIn(const Region& r, uint32_t bytes, bool even) {
  int64_t a;
  const int64_t page = b_.UnmappedPage >= 0 ? int64_t{b_.UnmappedPage} << 8 : -1;
  if (hot_ > 0 && dataPage_ && page >= r.From && page + 256 <= r.To) {
    switch (c_.Below(4)) {
      case 0: a = page - 2; break;  // across the page's start
      case 1: a = page + 254; break;  // across its end
      case 2: a = page; break;
      default: a = page + c_.Below(256); break;
    }
  } else if (c_.Chance(40)) {
    const uint32_t pages = (r.To - r.From) >> 8;
    a = int64_t{r.From} + (int64_t{c_.Below(pages)} << 8) + 256 - c_.Between(1, 8);
  } else {
    a = r.From + c_.Below(r.To - r.From);
  }
  if (even) a &= ~int64_t{1};
  if (a + bytes > r.To) a = r.To - bytes;
  if (even) a &= ~int64_t{1};
  if (a < r.From) a = r.From;
  return static_cast<uint32_t>(a);
}

std::optional<Operand> BlockGenerator::PickOfKind(Ea::Kind k, Size s, Use use, uint32_t pcExtOffset,
                                                  uint32_t bytes) {
  const bool even = s != Size::Byte;
  if (bytes == 0) bytes = Bytes(s);
  const bool write = use != Use::Read;
  Operand o;
  switch (k) {
    case Ea::DReg: {
      const int n = write ? WritableD() : static_cast<int>(c_.Below(8));
      o.E = Ea::D(n);
      return o;
    }
    case Ea::AReg:
      if (write || s == Size::Byte) return std::nullopt;
      o.E = Ea::A(static_cast<int>(c_.Below(8)));
      return o;
    case Ea::Ind:
    case Ea::PostInc:
    case Ea::PreDec: {
      const int n = static_cast<int>(c_.Below(8));
      if (!st_.A[n].Known) return std::nullopt;
      const uint32_t step = StepOf(n, s);
      const int64_t an = st_.A[n].Value;
      if (k != Ea::Ind && n == 6 && st_.Linked) return std::nullopt;
      o.Address = k == Ea::PreDec ? an - step : an;
      if (!Fits(o.Address, s, use, bytes)) return std::nullopt;
      if (k == Ea::PostInc) {
        if (n == 7 && !StackOk(an + step)) return std::nullopt;
        o.StepReg = n;
        o.Step = static_cast<int32_t>(step);
      } else if (k == Ea::PreDec) {
        if (n == 7 && !StackOk(an - step)) return std::nullopt;
        o.StepReg = n;
        o.Step = -static_cast<int32_t>(step);
      }
      o.E = k == Ea::Ind ? Ea::Indirect(n) : k == Ea::PostInc ? Ea::Post(n) : Ea::Pre(n);
      return o;
    }
    case Ea::Disp: {
      const int n = static_cast<int>(c_.Below(8));
      if (!st_.A[n].Known) return std::nullopt;
      const int64_t an = st_.A[n].Value;
      const Region* regions = write ? kWriteTargets : kReadTargets;
      const size_t count = write ? std::size(kWriteTargets) : std::size(kReadTargets);
      const int64_t target = TargetIn(regions[c_.Below(static_cast<uint32_t>(count))], bytes, even);
      const int64_t d = target - an;
      if (d < -32768 || d > 32767 || !Fits(target, s, use, bytes)) return std::nullopt;
      o.E = Ea::Displaced(n, static_cast<int16_t>(d));
      o.Address = target;
      return o;
    }
    case Ea::Index:
    case Ea::PcIndex: {
      const bool isA = c_.Chance(60);
      const int x = static_cast<int>(c_.Below(8));
      const Tracked& index = isA ? st_.A[x] : st_.D[x];
      if (!index.Known) return std::nullopt;
      const bool isLong = c_.Chance(40);
      const uint8_t scale = IsCpu32() && k == Ea::Index && c_.Chance(25) ? static_cast<uint8_t>(c_.Below(4)) : 0;
      const uint32_t idx = (isLong ? index.Value : SignExtendWord(index.Value)) << scale;
      int n = 0;
      int64_t base;
      if (k == Ea::Index) {
        n = static_cast<int>(c_.Below(8));
        if (!st_.A[n].Known) return std::nullopt;
        base = static_cast<uint32_t>(st_.A[n].Value + idx);
      } else {
        if (write) return std::nullopt;
        base = static_cast<int64_t>(code_.Pc()) + pcExtOffset + static_cast<int32_t>(idx);
      }
      int64_t lo = base - 128, hi = base + 127;
      lo = std::max<int64_t>(lo, 0);
      hi = std::min<int64_t>(hi, int64_t{kReadableEnd} - bytes);
      if (lo > hi) return std::nullopt;
      int64_t target = lo + c_.Below(static_cast<uint32_t>(hi - lo + 1));
      if (even && (target & 1)) target = target + 1 <= hi ? target + 1 : target - 1;
      if (target < lo || !Fits(target, s, use, bytes)) return std::nullopt;
      const int64_t d = target - base;
      if (k == Ea::Index) {
        o.E = Ea::Indexed(n, static_cast<int8_t>(d), isA, x, isLong, scale);
      } else {
        const int64_t ext = static_cast<int64_t>(code_.Pc()) + pcExtOffset;
        o.E = Ea::PcIndexed(static_cast<uint32_t>(ext + d), isA, x, isLong);
      }
      o.Address = target;
      return o;
    }
    case Ea::AbsW: {
      const Region r = write ? kLowDataRegion : Region{0, kLowDataEnd};
      o.Address = TargetIn(r, bytes, even);
      if (!Fits(o.Address, s, use, bytes)) return std::nullopt;
      o.E = Ea::AbsShort(static_cast<uint16_t>(o.Address));
      return o;
    }
    case Ea::AbsL: {
      const Region* regions = write ? kWriteTargets : kReadTargets;
      const size_t count = write ? std::size(kWriteTargets) : std::size(kReadTargets);
      o.Address = TargetIn(regions[c_.Below(static_cast<uint32_t>(count))], bytes, even);
      if (!Fits(o.Address, s, use, bytes)) return std::nullopt;
      o.E = Ea::AbsLong(static_cast<uint32_t>(o.Address));
      return o;
    }
    case Ea::PcDisp: {
      if (write) return std::nullopt;
      o.Address = TargetIn({kCode, kTableEnd}, bytes, even);
      o.E = Ea::PcRelative(static_cast<uint32_t>(o.Address));
      return o;
    }
    case Ea::Imm:
      if (write) return std::nullopt;
      o.E = Ea::Immediate(c_.Value());
      return o;
  }
  return std::nullopt;
}

std::optional<Operand> BlockGenerator::Pick(Size s, Use use, uint32_t modes, uint32_t pcExtOffset, uint32_t bytes) {
  // Weights by mode, in the order of Ea::Kind.
  static constexpr uint32_t kWeights[] = {6, 2, 4, 6, 4, 4, 2, 2, 2, 1, 1, 2};
  uint32_t total = 0;
  for (uint32_t k = 0; k < std::size(kWeights); ++k)
    if (modes & (1u << k)) total += kWeights[k];
  for (int attempt = 0; attempt < 24 && total > 0; ++attempt) {
    uint32_t r = c_.Below(total);
    uint32_t k = 0;
    for (; k < std::size(kWeights); ++k) {
      if (!(modes & (1u << k))) continue;
      if (r < kWeights[k]) break;
      r -= kWeights[k];
    }
    if (std::optional<Operand> o = PickOfKind(static_cast<Ea::Kind>(k), s, use, pcExtOffset, bytes)) return o;
  }
  return std::nullopt;
}

// ---- moves ----

bool BlockGenerator::Move() {
  const Size s = AnySize();
  // Longs between two memory operands are the fused chains' inline case.
  const bool bothMemory = s == Size::Long && c_.Chance(50);
  const uint32_t srcModes = bothMemory ? kMemoryRead : kData | (s != Size::Byte ? uint32_t{kAn} : 0u);
  const std::optional<Operand> src = PickApplied(s, Use::Read, srcModes);
  if (!src) return false;
  const std::optional<Operand> dst = PickApplied(s, Use::Write, bothMemory ? kMemAlterable : kDataAlterable);
  if (!dst) return false;
  const uint32_t at = Begin();
  code_.Move(s, src->E, dst->E);
  if (!Legal(at)) return false;
  if (dst->E.K == Ea::DReg) {
    if (s == Size::Long && src->E.K == Ea::Imm)
      SetD(dst->E.Reg, src->E.Value);
    else
      Clobber(dst->E.Reg);
  }
  return true;
}

bool BlockGenerator::MoveToAn() {
  const Size s = WordOrLong();
  const std::optional<Operand> src = PickApplied(s, Use::Read, kData | kAn);
  if (!src) return false;
  const int an = WritableA();
  const uint32_t at = Begin();
  code_.Move(s, src->E, Ea::A(an));
  if (!Legal(at)) return false;
  std::optional<uint32_t> v;
  if (src->E.K == Ea::Imm) v = src->E.Value;
  if (src->E.K == Ea::DReg && st_.D[src->E.Reg].Known) v = st_.D[src->E.Reg].Value;
  if (src->E.K == Ea::AReg && st_.A[src->E.Reg].Known) v = st_.A[src->E.Reg].Value;
  if (v)
    SetA(an, s == Size::Word ? SignExtendWord(*v) : *v);
  else
    st_.A[an] = {};
  return true;
}

bool BlockGenerator::MoveQuick() {
  const int dn = WritableD();
  const int8_t v = static_cast<int8_t>(c_.Value());
  Begin();
  code_.Moveq(v, dn);
  SetD(dn, static_cast<uint32_t>(static_cast<int32_t>(v)));
  return true;
}

// ---- arithmetic and logic ----

bool BlockGenerator::AluToDn() {
  static constexpr uint16_t kLines[] = {0xD, 0x9, 0xC, 0x8, 0xB};  // ADD SUB AND OR CMP
  const uint16_t line = kLines[c_.Below(5)];
  const Size s = AnySize();
  const bool anSource = (line == 0xD || line == 0x9 || line == 0xB) && s != Size::Byte;
  const std::optional<Operand> src = PickApplied(s, Use::Read, kData | (anSource ? uint32_t{kAn} : 0u));
  if (!src) return false;
  const int dn = line == 0xB ? static_cast<int>(c_.Below(8)) : WritableD();
  const uint32_t at = Begin();
  code_.ToDn(line, s, src->E, dn);
  if (!Legal(at)) return false;
  if (line != 0xB) Clobber(dn);
  return true;
}

bool BlockGenerator::AluToMemory() {
  static constexpr uint16_t kLines[] = {0xD, 0x9, 0xC, 0x8, 0xB};  // ADD SUB AND OR EOR
  const uint16_t line = kLines[c_.Below(5)];
  const Size s = AnySize();
  const std::optional<Operand> dst = PickApplied(s, Use::Modify, line == 0xB ? kDataAlterable : kMemAlterable);
  if (!dst) return false;
  const int dn = static_cast<int>(c_.Below(8));
  const uint32_t at = Begin();
  code_.FromDn(line, s, dn, dst->E);
  if (!Legal(at)) return false;
  if (dst->E.K == Ea::DReg) Clobber(dst->E.Reg);
  return true;
}

bool BlockGenerator::AluImmediate() {
  // ORI ANDI SUBI ADDI EORI CMPI
  static constexpr uint16_t kBases[] = {0x0000, 0x0200, 0x0400, 0x0600, 0x0A00, 0x0C00};
  const uint16_t base = kBases[c_.Below(6)];
  const Size s = AnySize();
  const bool compare = base == 0x0C00;
  const std::optional<Operand> dst = PickApplied(s, compare ? Use::Read : Use::Modify, kDataAlterable);
  if (!dst) return false;
  const uint32_t at = Begin();
  code_.Immediate(base, s, c_.Value(), dst->E);
  if (!Legal(at)) return false;
  if (dst->E.K == Ea::DReg && !compare) Clobber(dst->E.Reg);
  return true;
}

bool BlockGenerator::AddSubQuick() {
  const bool sub = c_.Chance(50);
  const uint8_t q = static_cast<uint8_t>(c_.Between(1, 8));
  if (c_.Chance(25)) {  // on an address register: the whole register moves
    const int an = c_.Chance(20) ? 7 : WritableA();
    const Tracked r = st_.A[an];
    const uint32_t v = sub ? r.Value - q : r.Value + q;
    if (an == 7 && !StackOk(v)) return false;
    Begin();
    code_.Quick(sub, q, WordOrLong(), Ea::A(an));
    if (r.Known) SetA(an, v);
    return true;
  }
  const Size s = AnySize();
  const std::optional<Operand> dst = PickApplied(s, Use::Modify, kDataAlterable);
  if (!dst) return false;
  const uint32_t at = Begin();
  code_.Quick(sub, q, s, dst->E);
  if (!Legal(at)) return false;
  if (dst->E.K == Ea::DReg) Clobber(dst->E.Reg);
  return true;
}

bool BlockGenerator::Unary() {
  static constexpr uint16_t kBases[] = {0x4000, 0x4200, 0x4400, 0x4600, 0x4A00};  // NEGX CLR NEG NOT TST
  const uint16_t base = kBases[c_.Below(5)];
  const Size s = AnySize();
  const bool test = base == 0x4A00;
  const uint32_t modes = test ? kData | (s != Size::Byte ? uint32_t{kAn} : 0u) : kDataAlterable;
  const std::optional<Operand> ea = PickApplied(s, test ? Use::Read : Use::Modify, modes);
  if (!ea) return false;
  const uint32_t at = Begin();
  code_.Unary(base, s, ea->E);
  if (!Legal(at)) return false;
  if (ea->E.K == Ea::DReg && !test) Clobber(ea->E.Reg);
  return true;
}

bool BlockGenerator::ExtendedArithmetic() {
  const size_t kind = c_.Weighted({3, 2, 2, 2});  // ADDX/SUBX, ABCD/SBCD, CMPM, NBCD/Scc/TAS
  if (kind == 3) {
    const std::optional<Operand> ea = PickApplied(Size::Byte, Use::Modify, kDataAlterable);
    if (!ea) return false;
    const uint32_t at = Begin();
    switch (c_.Below(3)) {
      case 0: code_.Nbcd(ea->E); break;
      case 1: code_.Scc(static_cast<Cond>(c_.Below(16)), ea->E); break;
      default: code_.Tas(ea->E); break;
    }
    if (!Legal(at)) return false;
    if (ea->E.K == Ea::DReg) Clobber(ea->E.Reg);
    return true;
  }
  const Size s = kind == 1 ? Size::Byte : AnySize();
  if (kind == 2) {
    const std::optional<Operand> y = PickApplied(s, Use::Read, kPost);
    const std::optional<Operand> x = y ? PickApplied(s, Use::Read, kPost) : std::nullopt;
    if (!x) return false;
    Begin();
    code_.Cmpm(s, y->E.Reg, x->E.Reg);
    return true;
  }
  const uint16_t line = kind == 0 ? (c_.Chance(50) ? 0xD : 0x9) : (c_.Chance(50) ? 0xC : 0x8);
  if (c_.Chance(50)) {
    const int y = static_cast<int>(c_.Below(8)), x = WritableD();
    Begin();
    if (kind == 0)
      code_.Extended(line, s, false, y, x);
    else
      code_.Bcd(line, false, y, x);
    Clobber(x);
    return true;
  }
  const std::optional<Operand> y = PickApplied(s, Use::Read, kPre);
  const std::optional<Operand> x = y ? PickApplied(s, Use::Modify, kPre) : std::nullopt;
  if (!x) return false;
  Begin();
  if (kind == 0)
    code_.Extended(line, s, true, y->E.Reg, x->E.Reg);
  else
    code_.Bcd(line, true, y->E.Reg, x->E.Reg);
  return true;
}

bool BlockGenerator::ShiftRegister() {
  const int dn = WritableD();
  const bool inRegister = c_.Chance(40);
  Begin();
  code_.ShiftRegister(static_cast<uint8_t>(c_.Below(4)), c_.Chance(50), AnySize(), inRegister,
                      static_cast<int>(c_.Below(8)), dn);
  Clobber(dn);
  return true;
}

bool BlockGenerator::ShiftMemory() {
  const std::optional<Operand> ea = PickApplied(Size::Word, Use::Modify, kMemAlterable);
  if (!ea) return false;
  const uint32_t at = Begin();
  code_.ShiftMemory(static_cast<uint8_t>(c_.Below(4)), c_.Chance(50), ea->E);
  return Legal(at);
}

bool BlockGenerator::BitOperation() {
  const uint8_t op = static_cast<uint8_t>(c_.Below(4));
  const bool onRegister = c_.Chance(40);
  const Use use = op == 0 ? Use::Read : Use::Modify;
  const std::optional<Operand> ea =
      onRegister ? std::optional<Operand>(Operand{Ea::D(op == 0 ? static_cast<int>(c_.Below(8)) : WritableD())})
                 : PickApplied(Size::Byte, use, kMemAlterable);
  if (!ea) return false;
  const uint32_t at = Begin();
  if (c_.Chance(50))
    code_.BitDynamic(op, static_cast<int>(c_.Below(8)), ea->E);
  else
    code_.BitStatic(op, static_cast<uint8_t>(c_.Below(onRegister ? 32 : 8)), ea->E);
  if (!Legal(at)) return false;
  if (onRegister && op != 0) Clobber(ea->E.Reg);
  return true;
}

bool BlockGenerator::MultiplyDivide() {
  const std::optional<Operand> src = PickApplied(Size::Word, Use::Read, kData);
  if (!src) return false;
  const int dn = WritableD();
  Begin();
  code_.MulDivWord(c_.Chance(50), c_.Chance(50), src->E, dn);
  Clobber(dn);
  return true;
}

bool BlockGenerator::RegisterMisc() {
  switch (c_.Below(4)) {
    case 0: {
      const int dn = WritableD();
      const uint32_t at = Begin();
      code_.Ext(IsCpu32() && c_.Chance(30) ? Size::Byte : WordOrLong(), dn);
      if (!Legal(at)) return false;
      Clobber(dn);
      return true;
    }
    case 1: {
      const int dn = WritableD();
      Begin();
      code_.Swap(dn);
      if (st_.D[dn].Known) SetD(dn, std::rotl(st_.D[dn].Value, 16));
      return true;
    }
    case 2: {
      const bool xIsA = c_.Chance(30), yIsA = xIsA || c_.Chance(50);
      const int x = xIsA ? WritableA() : WritableD(), y = yIsA ? WritableA() : WritableD();
      Begin();
      code_.Exg(xIsA, x, yIsA, y);
      Tracked& rx = xIsA ? st_.A[x] : st_.D[x];
      Tracked& ry = yIsA ? st_.A[y] : st_.D[y];
      std::swap(rx, ry);
      return true;
    }
    default:
      Begin();
      code_.Nop();
      return true;
  }
}

bool BlockGenerator::AddressArithmetic() {
  switch (c_.Weighted({3, 2, 3})) {
    case 0: {  // ADDA, SUBA, CMPA
      static constexpr uint16_t kLines[] = {0xD, 0x9, 0xB};
      const uint16_t line = kLines[c_.Below(3)];
      const Size s = WordOrLong();
      const std::optional<Operand> src = PickApplied(s, Use::Read, kData | kAn);
      if (!src) return false;
      const int an = line == 0xB ? static_cast<int>(c_.Below(8)) : WritableA();
      const uint32_t at = Begin();
      code_.ToAn(line, s, src->E, an);
      if (!Legal(at)) return false;
      if (line == 0xB) return true;
      std::optional<uint32_t> v;
      if (src->E.K == Ea::Imm) v = src->E.Value;
      if (src->E.K == Ea::DReg && st_.D[src->E.Reg].Known) v = st_.D[src->E.Reg].Value;
      if (src->E.K == Ea::AReg && st_.A[src->E.Reg].Known) v = st_.A[src->E.Reg].Value;
      if (v && st_.A[an].Known) {
        const uint32_t operand = s == Size::Word ? SignExtendWord(*v) : *v;
        SetA(an, line == 0xD ? st_.A[an].Value + operand : st_.A[an].Value - operand);
      } else {
        st_.A[an] = {};
      }
      return true;
    }
    case 1: {  // PEA: pushes the address
      const std::optional<Operand> ea = Pick(Size::Long, Use::Read, kControl);
      if (!ea) return false;
      const uint32_t sp = st_.A[7].Value - 4;
      if (!StackOk(sp)) return false;
      Begin();
      code_.Pea(ea->E);
      st_.A[7].Value = sp;
      return true;
    }
    default: {  // LEA
      const std::optional<Operand> ea = Pick(c_.Chance(50) ? Size::Long : Size::Byte, Use::Read, kControl);
      if (!ea) return false;
      const int an = WritableA();
      Begin();
      code_.Lea(ea->E, an);
      SetA(an, static_cast<uint32_t>(ea->Address));
      return true;
    }
  }
}

bool BlockGenerator::Movem() {
  const Size s = WordOrLong();
  const bool toRegisters = c_.Chance(45);
  // The registers, bit 0 D0 to bit 15 A7: A7 and a LINK frame's A6 never loaded.
  uint16_t set = static_cast<uint16_t>(c_.Any32());
  if (c_.Chance(40)) set &= static_cast<uint16_t>(c_.Any32());
  if (toRegisters) {
    set &= 0x7FFF;
    if (st_.Linked) set &= 0xBFFF;
  }
  if (set == 0) set = 1;
  const uint32_t count = static_cast<uint32_t>(std::popcount(set));
  const uint32_t bytes = count * Bytes(s);
  std::optional<Operand> ea;
  if (toRegisters) {
    ea = Pick(s, Use::Read, kPost | kInd | kDisp | kIndex | kAbsW | kAbsL | kPcDisp, 4, bytes);
    if (ea && ea->StepReg >= 0) {
      if (set & (1u << (8 + ea->StepReg))) return false;  // the base is not loaded
      if (ea->StepReg == 7 && !StackOk(int64_t{st_.A[7].Value} + bytes)) return false;
      ea->Step = static_cast<int32_t>(bytes);
    }
  } else {
    // -(An) stores downwards from An: the words lie in [An - bytes, An).
    ea = Pick(s, Use::Write, kPre | kInd | kDisp | kIndex | kAbsW | kAbsL, 4, bytes);
    if (ea && ea->StepReg >= 0) {
      const int64_t low = int64_t{st_.A[ea->StepReg].Value} - bytes;
      if (!Writable(low, bytes) || (ea->StepReg == 7 && !StackOk(low))) return false;
      ea->Address = low;
      ea->Step = -static_cast<int32_t>(bytes);
    }
  }
  if (!ea) return false;
  uint16_t mask = set;
  if (ea->E.K == Ea::PreDec) {  // the predecrement form holds the list reversed
    mask = 0;
    for (int i = 0; i < 16; ++i)
      if (set & (1u << i)) mask = static_cast<uint16_t>(mask | 1u << (15 - i));
  }
  const uint32_t at = Begin();
  code_.Movem(s, toRegisters, mask, ea->E);
  if (!Legal(at)) return false;
  Apply(*ea);
  if (toRegisters)
    for (int i = 0; i < 16; ++i)
      if (set & (1u << i)) (i < 8 ? st_.D[i] : st_.A[i - 8]) = {};
  return true;
}

bool BlockGenerator::Movep() {
  const Size s = WordOrLong();
  const bool toMemory = c_.Chance(50);
  const int an = static_cast<int>(c_.Below(8));
  if (!st_.A[an].Known) return false;
  const uint32_t span = 2 * Bytes(s);
  const Region r = toMemory ? kWriteTargets[c_.Below(3)] : kReadTargets[c_.Below(4)];
  const int64_t target = TargetIn(r, span, false);
  const int64_t d = target - st_.A[an].Value;
  if (d < -32768 || d > 32767 || !(toMemory ? Writable(target, span) : Readable(target, span))) return false;
  const int dn = toMemory ? static_cast<int>(c_.Below(8)) : WritableD();
  const uint32_t at = Begin();
  code_.Movep(s, toMemory, dn, an, static_cast<int16_t>(d));
  if (!Legal(at)) return false;
  if (!toMemory) Clobber(dn);
  return true;
}

bool BlockGenerator::LinkOrUnlink() {
  if (st_.Linked) {
    Begin();
    code_.Unlk(6);
    SetA(7, st_.A[6].Value + 4);
    st_.A[6] = {};  // the saved A6 may have been overwritten meanwhile
    st_.Linked = false;
    return true;
  }
  const int32_t d = -4 * c_.Between(0, 16);
  const int64_t frame = int64_t{st_.A[7].Value} - 4;
  if (!StackOk(frame) || !StackOk(frame + d)) return false;
  Begin();
  code_.Link(6, static_cast<int16_t>(d));
  SetA(6, static_cast<uint32_t>(frame));
  SetA(7, static_cast<uint32_t>(frame + d));
  st_.Linked = true;
  return true;
}

bool BlockGenerator::ExceptionInstruction() {
  switch (c_.Weighted({3, 2, 2})) {
    case 0: {  // CHK.W: out of bounds, the CHK handler counts it and returns
      const std::optional<Operand> bound = PickApplied(Size::Word, Use::Read, kData);
      if (!bound) return false;
      Begin();
      code_.ChkWord(bound->E, static_cast<int>(c_.Below(8)));
      return true;
    }
    case 1:
      Begin();
      code_.Trapv();
      return true;
    default:
      Begin();
      code_.Trap(static_cast<uint8_t>(c_.Below(14)));
      return true;
  }
}

bool BlockGenerator::ConditionCodes() {
  switch (c_.Below(4)) {
    case 0: {
      const std::optional<Operand> src = PickApplied(Size::Word, Use::Read, kData);
      if (!src) return false;
      Begin();
      code_.MoveToCcr(src->E);
      return true;
    }
    case 1: {
      static constexpr uint16_t kBases[] = {0x0000, 0x0200, 0x0A00};
      Begin();
      code_.ImmediateToStatus(kBases[c_.Below(3)], false, static_cast<uint16_t>(c_.Below(32)));
      return true;
    }
    default: {  // MOVE from CCR (MC68010 and CPU32) or from SR (privileged there)
      const bool fromSr = c_.Chance(50);
      const std::optional<Operand> dst = PickApplied(Size::Word, Use::Write, kDataAlterable);
      if (!dst) return false;
      const uint32_t at = Begin();
      if (fromSr)
        code_.MoveFromSr(dst->E);
      else
        code_.MoveFromCcr(dst->E);
      if (!Legal(at)) return false;
      if (dst->E.K == Ea::DReg) Clobber(dst->E.Reg);
      return true;
    }
  }
}

bool BlockGenerator::SupervisorInstruction() {
  if (!st_.Supervisor) return false;
  // A new status register in supervisor state: the trace bit as the block
  // prefers it, any mask and condition codes.
  const auto statusValue = [this] {
    const bool trace = traced_ ? c_.Chance(80) : c_.Chance(10);
    return static_cast<uint16_t>((trace ? 0x8000 : 0) | 0x2000 | c_.Below(8) << 8 | c_.Below(32));
  };
  switch (c_.Weighted({3, 3, 1, 2, 2, 2, 2, 1})) {
    case 0:
      Begin();
      code_.MoveToSr(Ea::Immediate(statusValue()));
      return true;
    case 1: {
      const uint16_t v = statusValue();
      switch (c_.Below(3)) {
        case 0: Begin(); code_.ImmediateToStatus(0x0200, true, static_cast<uint16_t>(v | 0x2000)); break;
        case 1: Begin(); code_.ImmediateToStatus(0x0000, true, v); break;
        default: Begin(); code_.ImmediateToStatus(0x0A00, true, static_cast<uint16_t>(v & ~0x2000)); break;
      }
      return true;
    }
    case 2: {  // to user state: A7 becomes the user stack pointer
      if (st_.Linked || !StackOk(st_.A[7].Value)) return false;
      Begin();
      code_.ImmediateToStatus(0x0200, true, static_cast<uint16_t>(0xDFFF & (traced_ ? 0xFFFF : 0x7FFF)));
      const uint32_t usp = st_.OtherSp;
      st_.OtherSp = st_.A[7].Value;
      SetA(7, usp);
      st_.Supervisor = false;
      return true;
    }
    case 3:  // STOP: an interrupt ends it (the host raises Abort when nothing else does)
      Begin();
      code_.Stop(static_cast<uint16_t>(0x2000 | c_.Below(7) << 8 | c_.Below(32) |
                                       (traced_ && c_.Chance(30) ? 0x8000 : 0)));
      return true;
    case 4: {  // MOVE USP
      const bool toUsp = c_.Chance(50);
      const int an = toUsp ? static_cast<int>(c_.Below(7)) : WritableA();
      if (toUsp && !st_.A[an].Known) return false;
      Begin();
      code_.MoveUsp(toUsp, an);
      if (toUsp)
        st_.OtherSp = st_.A[an].Value;
      else
        SetA(an, st_.OtherSp);
      return true;
    }
    case 5: {  // MOVEC: a vector base, the function codes, the user stack pointer
      if (IsMc68000()) return false;
      switch (c_.Below(4)) {
        case 0: {
          const int dn = WritableD();
          const uint32_t vbr = kVectorTables[c_.Below(3)];
          Begin();
          code_.Move(Size::Long, Ea::Immediate(vbr), Ea::D(dn));
          Begin();
          code_.Movec(true, false, dn, 0x801);
          SetD(dn, vbr);
          st_.Vbr = vbr;
          return true;
        }
        case 1: {
          const int dn = WritableD();
          Begin();
          code_.Movec(true, false, dn, static_cast<uint16_t>(c_.Below(2)));  // SFC or DFC
          return true;
        }
        case 2: {
          const int an = static_cast<int>(c_.Below(7));
          if (!st_.A[an].Known) return false;
          Begin();
          code_.Movec(true, true, an, 0x800);
          st_.OtherSp = st_.A[an].Value;
          return true;
        }
        default: {
          static constexpr uint16_t kControl[] = {0x000, 0x001, 0x800, 0x801};
          const uint16_t control = kControl[c_.Below(4)];
          const bool isA = c_.Chance(30);
          const int r = isA ? WritableA() : WritableD();
          Begin();
          code_.Movec(false, isA, r, control);
          if (isA)
            st_.A[r] = {};
          else
            Clobber(r);
          if (control == 0x800 && isA) SetA(r, st_.OtherSp);
          if (control == 0x801 && isA) SetA(r, st_.Vbr);
          return true;
        }
      }
    }
    case 6: {  // MOVES, in the spaces SFC and DFC name (the MMU maps them all alike)
      if (IsMc68000()) return false;
      const Size s = AnySize();
      const bool toMemory = c_.Chance(50);
      const std::optional<Operand> ea = PickApplied(s, toMemory ? Use::Write : Use::Read, kMemAlterable);
      if (!ea) return false;
      const bool isA = c_.Chance(25);
      const int r = toMemory ? static_cast<int>(c_.Below(8)) : isA ? WritableA() : WritableD();
      const uint32_t at = Begin();
      code_.Moves(s, toMemory, isA, r, ea->E);
      if (!Legal(at)) return false;
      if (!toMemory) (isA ? st_.A[r] : st_.D[r]) = {};
      return true;
    }
    default: {  // MOVE from SR
      const std::optional<Operand> dst = PickApplied(Size::Word, Use::Write, kDataAlterable);
      if (!dst) return false;
      Begin();
      code_.MoveFromSr(dst->E);
      if (dst->E.K == Ea::DReg) Clobber(dst->E.Reg);
      return true;
    }
  }
}

bool BlockGenerator::DevicePoke() {
  const auto writeByte = [this](uint8_t v, uint32_t address) {
    Begin();
    code_.Move(Size::Byte, Ea::Immediate(v), Ea::AbsLong(address));
  };
  switch (c_.Weighted({2, 2, 3, 2, 3})) {  // CR0, CR2, CR6, a disk command, a read of a mask register
    case 0: writeByte(static_cast<uint8_t>(c_.Below(4)), kScmCr0); return true;       // clock (bit 1) and entry 5
    case 1: writeByte(c_.Chance(50) ? 0x80 : 0x00, kScmCr2); return true;              // keyboard receiver
    case 2: writeByte(static_cast<uint8_t>(c_.Below(32) << 3), kScmCr6); return true;  // channels, all levels
    case 4: {  // a read of a mask register, which processes window messages
      static constexpr uint32_t kRegisters[] = {kScmCr0, kScmCr2, kScmCr6};
      const uint32_t reg = kRegisters[c_.Below(3)];
      const int dn = WritableD();
      Begin();
      if (c_.Chance(50)) {
        code_.Unary(0x4A00, Size::Byte, Ea::AbsLong(reg));
      } else {
        code_.Move(Size::Byte, Ea::AbsLong(reg), Ea::D(dn));
        Clobber(dn);
      }
      return true;
    }
    default:  // test drive ready, the command interrupt enabled: a poll completes it
      for (uint8_t v : {0x00, 0x00, 0x00, 0x00, 0x00, 0x02}) writeByte(v, kRwinR0);
      return true;
  }
}

// The block's page loses its descriptor: its next access is a bus error, whose
// handler loads the descriptor again and returns to the access.
bool BlockGenerator::Unmap() {
  if (b_.UnmappedPage < 0) return false;
  Begin();
  code_.Move(Size::Byte, Ea::Immediate(kPageDescriptor), Ea::AbsLong(kMmuRegisters + 0x29));  // DP
  Begin();
  code_.Move(Size::Byte, Ea::Immediate(0), Ea::AbsLong(kMmuRegisters + 0x31));  // its status: not enabled
  ++b_.Unmaps;
  hot_ = c_.Between(2, 6);
  return true;
}

bool BlockGenerator::CopyLoop() {
  // Two registers walk through memory for n + 1 rounds of the body; DBF (or a
  // search's DBNE) counts in a third.
  const int count = c_.Between(0, 24);
  const Size s = AnySize();
  const size_t body = c_.Weighted({5, 2, 2, 2, 2, 1, 2});
  // 0 MOVE (As)±,(Ad)±; 1 two such MOVEs; 2 ADD.s (As)+,Dx; 3 ADDX/ABCD -(As),-(Ad);
  // 4 CMPM (As)+,(Ad)+ with DBNE; 5 EOR.s Dx,(Ad)+; 6 CLR/NOT/NEG (Ad)±
  const Size bodySize = body == 3 && c_.Chance(40) ? Size::Byte : s;
  const uint32_t perRound = (body == 1 ? 2 : 1) * Bytes(bodySize);
  const uint32_t span = perRound * static_cast<uint32_t>(count + 1);
  const bool srcUp = body == 3 ? false : body == 2 || body == 4 ? true : c_.Chance(60);
  const bool dstUp = body == 3 ? false : body == 4 || body == 5 ? true : c_.Chance(60);
  const bool srcWalks = body <= 4, dstWalks = body != 2;
  const int as = static_cast<int>(c_.Below(st_.Linked ? 6 : 7));
  int ad;
  do ad = static_cast<int>(c_.Below(st_.Linked ? 6 : 7));
  while (ad == as);
  int dk = WritableD(), dx = WritableD();
  if (dx == dk) dx = (dk + 1) & 7;
  // Where the walks start: their ranges lie in a data window, often across a page end.
  const auto start = [&](bool up, bool write) -> std::optional<uint32_t> {
    const Region r = write ? kWriteTargets[c_.Below(3)] : kReadTargets[c_.Below(3)];
    if (span + 2 > r.To - r.From) return std::nullopt;
    const int64_t low = TargetIn(r, span, bodySize != Size::Byte);
    if (!(write ? Writable(low, span) : Readable(low, span))) return std::nullopt;
    return static_cast<uint32_t>(up ? low : low + span);
  };
  const std::optional<uint32_t> src = start(srcUp, false);
  const std::optional<uint32_t> dst = start(dstUp, body != 4);
  if (!src || !dst) return false;
  Begin();
  code_.Lea(Ea::AbsLong(*src), as);
  Begin();
  code_.Lea(Ea::AbsLong(*dst), ad);
  Begin();
  code_.Moveq(static_cast<int8_t>(count), dk);
  const uint32_t loop = code_.Pc();
  const Ea srcEa = srcUp ? Ea::Post(as) : Ea::Pre(as), dstEa = dstUp ? Ea::Post(ad) : Ea::Pre(ad);
  Cond until = Cond::False;
  switch (body) {
    case 0:
    case 1:
      for (uint32_t i = 0; i < (body == 1 ? 2u : 1u); ++i) {
        Begin();
        code_.Move(bodySize, srcEa, dstEa);
      }
      break;
    case 2: {
      static constexpr uint16_t kLines[] = {0xD, 0x9, 0xC, 0x8};
      Begin();
      code_.ToDn(kLines[c_.Below(4)], bodySize, srcEa, dx);
      Clobber(dx);
      break;
    }
    case 3:
      Begin();
      if (bodySize == Size::Byte && c_.Chance(50))
        code_.Bcd(c_.Chance(50) ? 0xC : 0x8, true, as, ad);
      else
        code_.Extended(c_.Chance(50) ? 0xD : 0x9, bodySize, true, as, ad);
      break;
    case 4:
      Begin();
      code_.Cmpm(bodySize, as, ad);
      until = Cond::Ne;
      break;
    case 5:
      Begin();
      code_.FromDn(0xB, bodySize, dx, dstEa);
      break;
    default:
      Begin();
      code_.Unary(static_cast<uint16_t>(0x4200 + 0x200 * c_.Below(3)), bodySize, dstEa);
      break;
  }
  Begin();
  code_.Dbcc(until, dk, loop);
  Clobber(dk);
  if (until == Cond::False) {
    SetA(as, srcWalks ? (srcUp ? *src + span : *src - span) : *src);
    SetA(ad, dstWalks ? (dstUp ? *dst + span : *dst - span) : *dst);
  } else {  // the search may end early
    st_.A[as] = {};
    st_.A[ad] = {};
  }
  return true;
}

// A forward Bcc over a few instructions: the registers those change are
// unknown after it.
bool BlockGenerator::ForwardBranch() {
  static constexpr Cond kConds[] = {Cond::True, Cond::Hi, Cond::Ls, Cond::Cc, Cond::Cs, Cond::Ne, Cond::Eq, Cond::Vc,
                                    Cond::Vs, Cond::Pl, Cond::Mi, Cond::Ge, Cond::Lt, Cond::Gt, Cond::Le};
  const TrackState before = st_;
  Begin();
  const uint32_t branch = code_.BranchShortForward(kConds[c_.Below(std::size(kConds))]);
  const int skipped = c_.Between(1, 3);
  for (int i = 0; i < skipped; ++i)
    for (int attempt = 0; attempt < 8 && !Try([this] { return Simple(); }); ++attempt) {
    }
  if (code_.Pc() - (branch + 2) == 0 || code_.Pc() - (branch + 2) > 126) return false;
  code_.PatchBranch(branch, code_.Pc());
  for (int i = 0; i < 8; ++i) {
    if (st_.D[i].Known != before.D[i].Known || st_.D[i].Value != before.D[i].Value) st_.D[i] = {};
    if (st_.A[i].Known != before.A[i].Known || st_.A[i].Value != before.A[i].Value) st_.A[i] = {};
  }
  // The skipped part never moves A7 (nor changes the state) for good: both ways
  // must leave the stack where it was.
  return st_.A[7].Known && st_.A[7].Value == before.A[7].Value && st_.Supervisor == before.Supervisor &&
         st_.Linked == before.Linked;
}

bool BlockGenerator::Cpu32Instruction() {
  if (!IsCpu32()) return false;
  switch (c_.Below(3)) {
    case 0: {
      const std::optional<Operand> src = PickApplied(Size::Long, Use::Read, kData, 4);
      if (!src) return false;
      const int dl = WritableD();
      int dh = c_.Chance(50) ? WritableD() : -1;
      if (dh == dl) dh = -1;
      Begin();
      code_.MulLong(c_.Chance(50), src->E, dl, dh);
      Clobber(dl);
      if (dh >= 0) Clobber(dh);
      return true;
    }
    case 1: {
      const std::optional<Operand> src = PickApplied(Size::Long, Use::Read, kData, 4);
      if (!src) return false;
      const int dq = WritableD();
      const int dr = c_.Chance(40) ? dq : WritableD();
      Begin();
      code_.DivLong(c_.Chance(50), dr != dq && c_.Chance(50), src->E, dq, dr);
      Clobber(dq);
      Clobber(dr);
      return true;
    }
    default: {  // CHK2 / CMP2 against a pair of bounds in memory
      const Size s = AnySize();
      const std::optional<Operand> bounds = PickApplied(s, Use::Read, kControl, 4, 2 * Bytes(s));
      if (!bounds) return false;
      Begin();
      code_.Chk2Cmp2(c_.Chance(50), s, bounds->E, c_.Chance(30), static_cast<int>(c_.Below(8)));
      return true;
    }
  }
}

// An address register pointed afresh into a data window, often near a page end.
bool BlockGenerator::Reseat() {
  const int an = WritableA();
  const uint32_t target = TargetIn(kWriteTargets[c_.Below(3)], 4, true);
  Begin();
  if (c_.Chance(50))
    code_.Lea(Ea::AbsLong(target), an);
  else
    code_.Move(Size::Long, Ea::Immediate(target), Ea::A(an));
  SetA(an, target);
  return true;
}

// The kinds a forward branch may skip.
bool BlockGenerator::Simple() {
  switch (c_.Weighted({4, 3, 3, 3, 2, 2, 2, 1})) {
    case 0: return Move();
    case 1: return AluToDn();
    case 2: return AluToMemory();
    case 3: return AluImmediate();
    case 4: return AddSubQuick();
    case 5: return Unary();
    case 6: return BitOperation();
    default: return MoveQuick();
  }
}

bool BlockGenerator::One() {
  int known = 0;
  for (int i = 0; i < 6; ++i) known += st_.A[i].Known ? 1 : 0;
  if (known < 3 && c_.Chance(70)) return Try([this] { return Reseat(); });
  switch (c_.Weighted({14, 3, 2, 8, 6, 6, 5, 5, 4, 4, 2, 4, 3, 3, 5, 3, 1, 2, 2, 2, 4, 2, 4, 5, 3, 3, 2})) {
    case 0: return Try([this] { return Move(); });
    case 1: return Try([this] { return MoveToAn(); });
    case 2: return Try([this] { return MoveQuick(); });
    case 3: return Try([this] { return AluToDn(); });
    case 4: return Try([this] { return AluToMemory(); });
    case 5: return Try([this] { return AluImmediate(); });
    case 6: return Try([this] { return AddSubQuick(); });
    case 7: return Try([this] { return Unary(); });
    case 8: return Try([this] { return ExtendedArithmetic(); });
    case 9: return Try([this] { return ShiftRegister(); });
    case 10: return Try([this] { return ShiftMemory(); });
    case 11: return Try([this] { return BitOperation(); });
    case 12: return Try([this] { return MultiplyDivide(); });
    case 13: return Try([this] { return RegisterMisc(); });
    case 14: return Try([this] { return AddressArithmetic(); });
    case 15: return Try([this] { return Movem(); });
    case 16: return Try([this] { return Movep(); });
    case 17: return Try([this] { return LinkOrUnlink(); });
    case 18: return Try([this] { return ExceptionInstruction(); });
    case 19: return Try([this] { return ConditionCodes(); });
    case 20: return Try([this] { return SupervisorInstruction(); });
    case 21: return Try([this] { return DevicePoke(); });
    case 22: return Try([this] { return Unmap(); });
    case 23: return Try([this] { return CopyLoop(); });
    case 24: return Try([this] { return ForwardBranch(); });
    case 25: return Try([this] { return Cpu32Instruction(); });
    default:
      if (!st_.Supervisor && !st_.Linked && c_.Chance(50)) {  // TRAP #14: its handler returns in supervisor state
        Begin();
        code_.Trap(kEnterSupervisorTrap);
        const uint32_t ssp = st_.OtherSp;
        st_.OtherSp = st_.A[7].Value;
        SetA(7, ssp);
        st_.Supervisor = true;
        return true;
      }
      return Try([this] { return Reseat(); });
  }
}

// ---- the set-up ----

void BlockGenerator::MakeState() {
  st_.Supervisor = c_.Chance(60);
  traced_ = c_.Chance(25);
  b_.Sr = static_cast<uint16_t>((traced_ ? 0x8000 : 0) | (st_.Supervisor ? 0x2000 : 0) |
                                (c_.Chance(40) ? 0 : c_.Below(8)) << 8 | c_.Below(32));
  for (int i = 0; i < 8; ++i) {
    b_.D[i] = c_.Value();
    SetD(i, b_.D[i]);
  }
  for (int i = 0; i < 7; ++i) {
    b_.A[i] = TargetIn(kWriteTargets[c_.Below(3)], 4, true);
    SetA(i, b_.A[i]);
  }
  b_.Usp = kUserStackTop;
  b_.Ssp = kSupervisorStackTop;
  SetA(7, st_.Supervisor ? b_.Ssp : b_.Usp);
  st_.OtherSp = st_.Supervisor ? b_.Usp : b_.Ssp;
  b_.Vbr = IsMc68000() ? 0 : kVectorTables[c_.Below(3)];
  st_.Vbr = b_.Vbr;
  b_.Sfc = c_.Below(8);
  b_.Dfc = c_.Below(8);
  b_.Format2 = IsCpu32() && c_.Chance(30);
  // Pumps every 8 to 65536 words, the short spans most often: 8 words run one
  // at a time (a fused chain with its fetch takes up to FusedChainMostWords),
  // from 16 on more and more of them in fused chains.
  const size_t span = c_.Weighted({10, 55, 35});
  const uint32_t shift = static_cast<uint32_t>(span == 0 ? 3 : span == 1 ? c_.Between(4, 8) : c_.Between(9, 16));
  b_.ThrottleMask = static_cast<int32_t>((1u << shift) - 1);
  b_.RwinPollInterval = c_.Between(0, 300);
  b_.Mvme400PollInterval = c_.Chance(10) ? -1 : c_.Between(0, 600);
  b_.Cr0 = static_cast<uint8_t>(c_.Below(4));
  b_.Cr2 = c_.Chance(50) ? 0x80 : 0;
  b_.Cr6 = static_cast<uint8_t>(c_.Below(32) << 3);
  // The page the block unmaps (not on the MC68000, whose bus errors do not
  // return): a data page, a page of the code, or the user stack's page.
  if (!IsMc68000() && c_.Chance(50)) {
    switch (c_.Weighted({5, 3, 1})) {
      case 0:
        b_.UnmappedPage = static_cast<int32_t>((kMainData >> 8) + c_.Below((kMainDataEnd - kMainData) >> 8));
        dataPage_ = true;
        break;
      case 1: b_.UnmappedPage = static_cast<int32_t>((kCode >> 8) + c_.Between(0, 4)); break;
      default: b_.UnmappedPage = static_cast<int32_t>((kUserStackTop - 4) >> 8); break;
    }
  }
}

void BlockGenerator::MakeMemory() {
  const auto fill = [this](std::vector<uint16_t>& words, uint32_t from, uint32_t to) {
    words.resize((to - from) / 2);
    for (uint16_t& w : words) w = static_cast<uint16_t>(c_.Chance(20) ? c_.Value() : c_.Any32());
  };
  fill(b_.Table, kTable, kTableEnd);
  fill(b_.LowData, kLowData, kLowDataEnd);
  fill(b_.MainData, kMainData, kMainDataEnd);
}

void BlockGenerator::MakeEvents() {
  // Roughly the pumps the block makes, so that the events fall inside it.
  const uint32_t words = static_cast<uint32_t>(b_.Code.size()) * 12;
  const uint32_t pumps = std::clamp<uint32_t>(words / (static_cast<uint32_t>(b_.ThrottleMask) + 1) + 6, 6, 4000);
  const uint32_t count = c_.Below(7);
  for (uint32_t i = 0; i < count; ++i) {
    const PumpAction a = static_cast<PumpAction>(c_.Below(kPumpActions));
    const bool inWord = c_.Chance(30);
    b_.Events.push_back({inWord ? c_.Below(12) : c_.Below(pumps), a,
                         static_cast<int32_t>((1u << c_.Between(3, 16)) - 1), inWord});
  }
  std::stable_sort(b_.Events.begin(), b_.Events.end(),
                   [](const PumpEvent& x, const PumpEvent& y) { return x.AtPump < y.AtPump; });
  b_.StopWakeDelay = c_.Below(4);
}

RandomBlock BlockGenerator::Make() {
  MakeState();
  MakeMemory();
  const int instructions = c_.Between(20, 200);
  for (int i = 0; i < instructions * 4 && static_cast<int>(starts_.size()) < instructions; ++i) {
    if (code_.Pc() > kCodeEnd - 0x100) break;
    One();
  }
  Begin();
  code_.Trap(kEndTrap);
  b_.Code = code_.Words();
  b_.InstructionStarts = starts_;
  MakeEvents();
  return b_;
}

// ---------------------------------------------------------------------------
InstructionEncoder CountingHandler(uint8_t vector) {
  InstructionEncoder h(kHandlers + 16u * vector);
  switch (vector) {
    case kClockVector: h.Move(Size::Byte, Ea::Immediate(0), Ea::AbsLong(kScmCr0)); break;       // masks entry 14
    case kKeyboardVector: h.Move(Size::Byte, Ea::Immediate(0), Ea::AbsLong(kScmCr2)); break;    // masks entry 7
    case kDiskVector: h.Unary(0x4A00, Size::Byte, Ea::AbsLong(kRwinR0)); break;                 // the sense read
    case 32 + kEnterSupervisorTrap: h.Immediate(0x0000, Size::Word, 0x2000, Ea::Indirect(7)); break;  // S in the frame
    default: break;
  }
  h.Quick(false, 1, Size::Long, Ea::AbsShort(static_cast<uint16_t>(CounterOf(vector))));
  h.Rte();
  return h;
}

}  // namespace

RandomBlock MakeRandomBlock(uint64_t seed, CpuModel model) { return BlockGenerator(seed, model).Make(); }

std::vector<HandlerCode> BlockHandlers() {
  std::vector<HandlerCode> out;
  std::vector<uint8_t> vectors(std::begin(kCountedVectors), std::end(kCountedVectors));
  for (uint8_t v : {kClockVector, kKeyboardVector, kDiskVector, static_cast<uint8_t>(32 + kEnterSupervisorTrap)})
    vectors.push_back(v);
  for (uint8_t v : vectors) {
    const InstructionEncoder h = CountingHandler(v);
    out.push_back({h.Origin(), h.Words()});
  }
  // The bus error: the page's descriptor loaded again (LBA and PBA the page,
  // one page long, space 0, enabled), counted, and the access run again by RTE.
  InstructionEncoder berr(kBusErrorHandler);
  const uint32_t mmu = kMmuRegisters;
  berr.Move(Size::Word, Ea::AbsShort(static_cast<uint16_t>(kUnmappedPageWord)), Ea::AbsLong(mmu + 0x20));
  berr.Move(Size::Word, Ea::Immediate(0xFFFF), Ea::AbsLong(mmu + 0x22));
  berr.Move(Size::Word, Ea::AbsShort(static_cast<uint16_t>(kUnmappedPageWord)), Ea::AbsLong(mmu + 0x24));
  berr.Move(Size::Word, Ea::Immediate(0x0001), Ea::AbsLong(mmu + 0x26));
  berr.Move(Size::Word, Ea::Immediate(0xFF00 | kPageDescriptor), Ea::AbsLong(mmu + 0x28));
  berr.Unary(0x4A00, Size::Byte, Ea::AbsLong(mmu + 0x3F));
  berr.Quick(false, 1, Size::Long, Ea::AbsShort(static_cast<uint16_t>(CounterOf(2))));
  berr.Rte();
  out.push_back({berr.Origin(), berr.Words()});
  // The end: STOP, and STOP again should an interrupt end it.
  InstructionEncoder end(kEndStop);
  end.Stop(0x2700);
  end.BraShort(-6);
  out.push_back({end.Origin(), end.Words()});
  // Every other vector: a STOP of its own, which the test reports.
  InstructionEncoder unexpected(kUnexpected);
  for (int v = 0; v < 256; ++v) unexpected.Stop(0x2700);
  out.push_back({unexpected.Origin(), unexpected.Words()});
  return out;
}

std::string DescribeBlock(const RandomBlock& b) {
  char page[48] = "no page unmapped";
  if (b.UnmappedPage >= 0)
    std::snprintf(page, sizeof page, "page %X unmapped %u times", static_cast<unsigned>(b.UnmappedPage) << 8, b.Unmaps);
  char text[320];
  std::snprintf(text, sizeof text,
                "%zu instructions, SR %04X, VBR %X, pumps every %d words, %s, Rwin poll %d, MVME400 poll %d, "
                "CR0 %02X CR2 %02X CR6 %02X%s",
                b.InstructionStarts.size(), b.Sr, b.Vbr, b.ThrottleMask + 1, page, b.RwinPollInterval,
                b.Mvme400PollInterval, b.Cr0, b.Cr2, b.Cr6, b.Format2 ? ", format-2 frames" : "");
  std::string out = text;
  for (const PumpEvent& e : b.Events)
    out += std::string("; ") + PumpActionName(e.Action) + " at " + (e.InWord ? "in-word pump " : "pump ") +
           std::to_string(e.AtPump) +
           (e.Action == PumpAction::ChangeThrottle ? " to " + std::to_string(e.Value + 1) + " words" : "");
  return out;
}

}  // namespace korva::test
