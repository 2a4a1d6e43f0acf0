#include "serial/MVME400.h"

#include "bus/Exceptions.h"
#include "shell/MainFormHooks.h"
#include "tables/TextFormat.h"

namespace korva {

classMVME400 MVME400C0;
classMVME400 MVME400C1;

void classMVME400::CardNumber(int16_t number) {
  if (number == 0 || number == 1) cardNumber_ = number;
}

void classMVME400::N7201Int(uint8_t v) {
  if (v < 1 || v > 4 || v == n7201Int_) return;
  const bool pending = Exceptions.IsIocIP(n7201Int_, SerialSource());
  if (pending) Exceptions.ClrIocIP(n7201Int_, SerialSource());
  n7201Int_ = v;
  if (pending) Exceptions.SetIocIP(n7201Int_, SerialSource());
}

bool classMVME400::HasCondition(const SerialChannel& c) {
  return (c.RxCondition && c.RxIntMode != 0 && c.RxEnable) || (c.ExtCondition && c.ExtIE) ||
         (c.TxEnable && c.TxE && c.TxIE && !c.TxIntHeld);
}

void classMVME400::RaiseRequest() { Exceptions.SetIocIP(n7201Int_, SerialSource()); }

// Clearing one channel's condition keeps the request up for what the other
// channel (or this one) still has, so a byte waiting on the other channel is
// not left without an interrupt.
void classMVME400::UpdateRequest() {
  if (HasCondition(a_) || HasCondition(b_))
    RaiseRequest();
  else
    Exceptions.ClrIocIP(n7201Int_, SerialSource());
}

uint8_t classMVME400::RxData(SerialChannel& c, int side) {
  const uint8_t byte = Cable.RX(Port(side));
  c.RxCondition = False;
  UpdateRequest();
  return byte;
}

void classMVME400::TxData(SerialChannel& c, int side, uint8_t v) {
  if (!c.TxEnable) return;
  c.LastTx = v;
  c.TxE = False;
  UpdateRequest();
  Cable.tX(Port(side), v);
  // The byte is with the console now; the transmit interrupt comes at the next poll.
  c.TxIntHeld = False;
  c.TxE = True;
}

uint8_t classMVME400::RR0(const SerialChannel& c, int side) const {
  const int16_t port = Port(side);
  uint8_t rr0 = 0;
  if (c.BreakBit) rr0 |= 0x80;
  if (Cable.CTS(port)) rr0 |= 0x20;
  if (Cable.DCD(port)) rr0 |= 0x08;
  if (c.TxE) rr0 |= 0x04;
  if (c.IntPending) rr0 |= 0x02;
  if (c.RxEnable && Cable.RXavailable(port)) rr0 |= 0x01;
  return rr0;
}

uint8_t classMVME400::Status(SerialChannel& c, int side) {
  const uint8_t pointer = c.Pointer;
  c.Pointer = 0;
  switch (pointer) {
    case 0: return RR0(c, side);
    case 1: return 0;  // no receive errors, end of frame, residue or all-sent
    case 2: return side == 0 ? c.WR[2] : Vector();
    default: return c.WR[pointer];
  }
}

uint8_t classMVME400::VectorCode() const {
  const auto rx = [](const SerialChannel& c) { return c.RxCondition && c.RxIntMode != 0; };
  const auto tx = [](const SerialChannel& c) { return c.TxE && c.TxIE && !c.TxIntHeld; };
  const auto ext = [](const SerialChannel& c) { return c.ExtCondition && c.ExtIE; };
  struct Cond {
    bool holds;
    uint8_t code;
  };
  const Cond byReceive[6] = {{rx(a_), 6}, {rx(b_), 2}, {tx(a_), 4}, {tx(b_), 0}, {ext(a_), 5}, {ext(b_), 1}};
  const Cond byChannel[6] = {{rx(a_), 6}, {tx(a_), 4}, {rx(b_), 2}, {tx(b_), 0}, {ext(a_), 5}, {ext(b_), 1}};
  const Cond* order = a_.PrioritySelect ? byReceive : byChannel;
  for (int i = 0; i < 6; ++i)
    if (order[i].holds) return order[i].code;
  return 7;
}

uint8_t classMVME400::VectorFor(uint8_t code) const {
  const uint8_t wr2b = b_.WR[2];
  if (!b_.StatusAffectsVector) return wr2b;
  switch (a_.VectorMode) {
    case 0: case 1: case 4: case 5: return static_cast<uint8_t>((wr2b & 0xE3) | (code << 2));
    case 2: case 6: return static_cast<uint8_t>((wr2b & 0xF8) | code);
    default: return 0;
  }
}

// Channel B's RR2: its WR2, or with status affecting the vector the code of
// the highest condition put in by channel A's vector mode; that read also
// sets or clears channel A's interrupt pending bit.
uint8_t classMVME400::Vector() {
  if (!b_.StatusAffectsVector) return b_.WR[2];
  const uint8_t code = VectorCode();
  a_.IntPending = ToVBool(code != 7);
  return VectorFor(code);
}

void classMVME400::Control(SerialChannel& c, int side, uint8_t v) {
  if (c.Pointer != 0) {
    const uint8_t reg = c.Pointer;
    c.Pointer = 0;
    WriteRegister(c, side, reg, v);
    return;
  }
  c.WR0 = v;
  c.Pointer = v & 7;
  c.Command = (v >> 3) & 7;
  c.CrcCode = v >> 6;
  switch (c.Command) {
    case 2:  // reset external/status interrupts
      c.ExtCondition = False;
      UpdateRequest();
      break;
    case 3: ChannelReset(c, side); break;
    case 5:  // reset transmit interrupt pending
      c.TxE = True;
      c.TxIntHeld = True;
      UpdateRequest();
      break;
    case 7:  // return from interrupt
      if (side == 0) {
        a_.IntPending = b_.IntPending = False;
        if (HasCondition(a_) || HasCondition(b_)) RaiseRequest();
      }
      break;
    default: break;
  }
}

void classMVME400::WriteRegister(SerialChannel& c, int side, uint8_t reg, uint8_t v) {
  c.WR[reg] = v;
  switch (reg) {
    case 1:
      c.ExtIE = ToVBool(v & 0x01);
      c.TxIE = ToVBool(v & 0x02);
      c.StatusAffectsVector = ToVBool(v & 0x04);
      c.RxIntMode = (v >> 3) & 3;
      // An interrupt enabled while its condition already stands is raised now.
      if (HasCondition(c)) RaiseRequest();
      break;
    case 2:
      if (side == 0) {
        c.PrioritySelect = ToVBool(v & 0x40);
        c.VectorMode = (v >> 3) & 7;
      }
      break;
    case 3:
      c.RxEnable = ToVBool(v & 0x01);
      if (c.RxEnable && c.RxCondition && c.RxIntMode != 0) RaiseRequest();
      break;
    case 5:
      c.TxEnable = ToVBool(v & 0x08);
      Cable.RTS(Port(side), ToVBool(v & 0x02));
      Cable.DTR(Port(side), ToVBool(v & 0x80));
      break;
    default: break;
  }
}

void classMVME400::ChannelReset(SerialChannel& c, int side) {
  c.Pointer = 0;
  for (uint8_t reg = 1; reg <= 7; ++reg) WriteRegister(c, side, reg, 0);
  c.TxE = True;
  c.RxCondition = False;
  c.ExtCondition = False;
  c.TxIntHeld = False;
  UpdateRequest();
}

void classMVME400::ExternalStatus(SerialChannel& c) {
  c.ExtCondition = True;
  if (c.ExtIE) RaiseRequest();
}

void classMVME400::BreakChanged(SerialChannel& c, VBool state) {
  if (state) {
    c.BreakStart = True;
    c.BreakHold = 2;
  } else {
    c.BreakEnd = True;
  }
}

void classMVME400::PollChannel(SerialChannel& c, int side) {
  if (!c.RxCondition && Cable.RXavailable(Port(side))) {
    c.RxCondition = True;
    if (c.RxIntMode != 0 && c.RxEnable) RaiseRequest();
  }
}

void classMVME400::PollBreak(SerialChannel& c) {
  if (c.BreakStart) {
    c.BreakBit = True;
    c.BreakStart = False;
    ExternalStatus(c);
  }
  if (c.BreakEnd) {
    if (c.BreakHold != 0) {
      --c.BreakHold;
    } else {
      c.BreakBit = False;
      c.BreakEnd = False;
      ExternalStatus(c);
    }
  }
}

void classMVME400::DoTxEandRxE() {
  ++PollCount;
  for (const SerialChannel* c : {&a_, &b_})
    if (c->TxE && c->TxEnable && c->TxIE && !c->TxIntHeld) RaiseRequest();
  PollChannel(a_, 0);
  PollChannel(b_, 1);
  PollBreak(a_);
  PollBreak(b_);
}

void classMVME400::Reset() {
  PiaReset();
  ChannelReset(a_, 0);
  ChannelReset(b_, 1);
}

// ---- The board's PIA ----

uint8_t classMVME400::PortAInput() const {
  uint8_t in = baudSelect_ ? baudB_ : baudA_;
  if (lamp_) in |= 0x20;
  if (!Cable.DSR(Port(0))) in |= 0x40;
  if (!Cable.DSR(Port(1))) in |= 0x80;
  return in;
}

uint8_t classMVME400::DDRxORA() {
  SideState& s = side_[A];
  if (!s.Cr.DataSelect) return s.DDR;
  s.IR = PortAInput();
  const uint8_t v = static_cast<uint8_t>((s.OR & s.DDR) | (s.IR & ~s.DDR));
  ClearIrqFlags(A);
  return v;
}

void classMVME400::DDRxORA(uint8_t v) {
  SideState& s = side_[A];
  if (!s.Cr.DataSelect) {
    s.DDR = v;
    return;
  }
  s.OR = v;
  baudSelect_ = ToVBool(v & 0x08);
  lamp_ = ToVBool(v & 0x10);
  MainForm->SetFailLights(cardNumber_ + 1, lamp_);
}

uint8_t classMVME400::DDRxORB() {
  SideState& s = side_[B];
  if (!s.Cr.DataSelect) return s.DDR;
  const uint8_t v = static_cast<uint8_t>((s.OR & s.DDR) | (s.IR & ~s.DDR));
  ClearIrqFlags(B);
  return v;
}

void classMVME400::PinEdge(int side, bool dsr, VBool state) {
  const bool high = !state;  // the pins carry the lines inverted
  const PiaControlFlags& cr = side_[side].Cr;
  const bool rising = dsr ? cr.C1Rising != 0 : cr.C2Bit4 != 0;
  if (rising != high) return;
  if (dsr)
    SetIrq1(side);
  else
    SetIrq2(side);
}

void classMVME400::PiaReset() {
  SideState& a = side_[A];
  a.DDR = a.OR = 0;
  a.IR = 0xFF;
  lamp_ = True;
  MainForm->SetFailLights(cardNumber_ + 1, True);
  ResetControl(A);
  SideState& b = side_[B];
  b.DDR = b.OR = b.IR = 0;
  ResetControl(B);
}

// ---- The register dump ----

namespace {

std::string BitNames(uint8_t v, const char* const names[8]) {
  std::string s;
  for (int bit = 7; bit >= 0; --bit)
    if ((v >> bit) & 1) s += names[7 - bit];
  return s;
}

}  // namespace

std::string classMVME400::DumpChannel(const SerialChannel& c, int side) const {
  static const char* const rr0Names[8] = {" B/A ", " I/C ", " CTS ", " SST ", " DCD ", " TxE ", " IP ", " RxA "};
  static const char* const rr1Names[4] = {" ESF ", " FE ", " OV ", " PE "};
  const std::string x = side == 0 ? "A" : "B";
  const std::string nl = "\r\n";
  std::string t = "RxRegister" + x + " = 0x00" + nl;
  t += "TxRegister" + x + " = 0x" + HexByte(c.LastTx) + nl + nl;
  t += "ControlRegister0" + x + " = 0x" + HexByte(c.WR0) + nl;
  for (int r = 1; r <= 7; ++r) {
    t += "ControlRegister" + std::to_string(r) + x + " = 0x" + HexByte(c.WR[r]);
    if (r == 2 && side == 1) t += "  Current Vector 2B = 0x" + HexByte(VectorFor(VectorCode()));
    t += nl;
  }
  t += nl;
  const uint8_t rr0 = RR0(c, side);
  t += "StatusRegister0" + x + " = 0x" + HexByte(rr0) + BitNames(rr0, rr0Names) + nl;
  const uint8_t rr1 = 0;  // the channel keeps no receive errors
  t += "StatusRegister1" + x + " = 0x" + HexByte(rr1);
  for (int bit = 7; bit >= 4; --bit)
    if ((rr1 >> bit) & 1) t += rr1Names[7 - bit];
  t += " SRC=" + std::to_string((rr1 >> 1) & 7) + " ";
  if (rr1 & 1) t += " ALL ";
  t += nl + nl;
  return t;
}

std::string classMVME400::GetSetup() const {
  std::string t = DumpChannel(a_, 0) + DumpChannel(b_, 1);
  t += "N7201 IRQ  = 0x" + HexByte(n7201Int_) + "\r\n\r\n";
  t += DumpSide(A, PortAInput()) + "\r\n";
  t += DumpSide(B, side_[B].IR);
  return t;
}

}  // namespace korva
