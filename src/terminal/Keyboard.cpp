// The CRT keyboard: named keys send the port's key strings, typed characters
// go one by one, Pause drives the line's break; every byte passes the 7-bit and
// parity step on its way to the port's receive queue.
#include <algorithm>
#include <vector>

#include "host/Host.h"
#include "serial/TypedBytes.h"
#include "terminal/CrtTerminal.h"

namespace korva {

int32_t TypedByte(int32_t c, bool ctrlDown) {
  if (c < 0 || c > 255) return -1;
  if (c == 8 || c == 9) return ctrlDown ? c : -1;
  return CtrlTypedByte(c, ctrlDown);
}

uint8_t classCrtTerminal::ApplyParity(uint8_t b) const { return korva::ApplyParity(b, Def().Ascii, Def().Parity); }

void classCrtTerminal::QueueBytes(const uint8_t* bytes, size_t n) {
  if (n) host_->SendToPort(port_, bytes, n);
}

int32_t classCrtTerminal::KeyDown(int32_t k, int32_t shiftMask) {
  const int m = shiftMask & 7;
  ShiftDown = ToVBool(m & 1);
  CtrlDown = ToVBool(m & 2);
  AltDown = ToVBool(m & 4);
  CrtDefinition& d = Def();
  const KeyString* s = nullptr;
  if (k >= 112 && k <= 123)
    s = &d.FunctionKeys[static_cast<size_t>(k - 112)][static_cast<size_t>(m)];
  else if (k >= 33 && k <= 40)
    s = &d.NavigationKeys[static_cast<size_t>(k - 33)][static_cast<size_t>(m)];
  else if (k == 45 || k == 46)
    s = &d.EditingKeys[static_cast<size_t>(k - 45)][static_cast<size_t>(m)];
  else if (k == 8 || k == 9)
    s = &d.NavigationKeys[static_cast<size_t>(k)][static_cast<size_t>(m)];
  if (s) {
    PendingInput = *s;
    PendingLength = static_cast<int32_t>(s->size());
    SendKeyString();
    return 0;
  }
  if (k == 19) {  // Pause
    if (m == 0) {
      host_->FlushPortQueue(port_);
      host_->SetPortBreak(port_, True);
    }
    return k;
  }
  PendingInput.clear();
  PendingLength = 0;
  return k;
}

void classCrtTerminal::KeyUp(int32_t k, int32_t shiftMask) {
  if (k == 19 && (shiftMask & 7) == 0) {
    host_->FlushPortQueue(port_);
    host_->SetPortBreak(port_, False);
  }
}

void classCrtTerminal::KeyPress(int32_t c) {
  const int32_t b = TypedByte(c, CtrlDown != 0);
  if (b < 0) return;
  const uint8_t out = ApplyParity(static_cast<uint8_t>(b));
  QueueBytes(&out, 1);
}

void classCrtTerminal::SendKeyString() {
  if (PendingLength >= 4096) {
    Host().MessageBox("Pasted Data > 4095", "Too much Paste", MsgButtons::OK, MsgIcon::None);
  } else if (PendingLength > 0) {
    const size_t n = std::min(static_cast<size_t>(PendingLength), PendingInput.size());
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = ApplyParity(static_cast<uint8_t>(PendingInput[i]));
    QueueBytes(bytes.data(), n);
  }
  PendingLength = 0;
}

}  // namespace korva
