#include "board/Keyboard.h"

#include "board/KeyboardLights.h"
#include "board/Uart2661.h"
#include "host/Host.h"

namespace korva {

KeyMapEntry KeyMap[256];
VBool NewKeyBoard = False;
VBool KBPutJumpers = True;

namespace {

OnScreenKeyboardHooks silentOnScreenKeyboard;

// Host virtual-key codes with a meaning of their own.
enum HostKey : uint16_t {
  VkShift = 16, VkCtrl = 17, VkAlt = 18, VkCaps = 20, VkSpace = 32, VkInsert = 45, VkDelete = 46,
  VkMultiply = 106, VkSubtract = 109, VkDivide = 111, VkF1 = 112, VkF6 = 117, VkF9 = 120, VkF12 = 123,
  VkNumLock = 144, VkScroll = 145,
};

// The lights of the locks.
enum LockLight { LightCaps = 0, LightInsert = 1, LightDelete = 2, LightScroll = 3, LightNumLock = 4,
                 LightKeypadDivide = 5, LightKeypadMultiply = 6, LightKeypadSubtract = 7 };

struct MakeOnly {
  uint8_t Key, Make;
};
constexpr MakeOnly kMakeOnly[] = {
    {8, 85}, {9, 21}, {12, 92}, {13, 90}, {14, 126}, {19, 86}, {21, 102}, {22, 113}, {23, 114}, {24, 115},
    {25, 118}, {26, 121}, {27, 101}, {33, 104}, {34, 108}, {35, 93}, {36, 89}, {37, 91}, {38, 103}, {39, 106},
    {40, 94}, {41, 92}, {47, 125}, {48, 67}, {49, 18}, {50, 19}, {51, 20}, {52, 36}, {53, 37}, {54, 38},
    {55, 52}, {56, 53}, {57, 54}, {65, 25}, {66, 46}, {67, 44}, {68, 27}, {69, 24}, {70, 42}, {71, 43},
    {72, 57}, {73, 56}, {74, 58}, {75, 59}, {76, 73}, {77, 61}, {78, 60}, {79, 70}, {80, 71}, {81, 22},
    {82, 39}, {83, 26}, {84, 40}, {85, 55}, {86, 45}, {87, 23}, {88, 29}, {89, 41}, {90, 28}, {96, 110},
    {97, 109}, {98, 122}, {99, 123}, {100, 107}, {101, 119}, {102, 120}, {103, 105}, {104, 116}, {105, 117},
    {107, 124}, {108, 124}, {110, 125}, {118, 65}, {119, 66}, {124, 97}, {125, 98}, {126, 99}, {127, 100},
    {186, 74}, {187, 69}, {188, 62}, {189, 68}, {190, 76}, {191, 77}, {192, 17}, {219, 72}, {220, 88},
    {221, 87}, {222, 75},
};

struct FullRow {
  uint8_t Key;
  KeyMapEntry Codes;
};
constexpr FullRow kFullRows[] = {
    {16, {8, 31, 9, 47}},   {17, {10, 63, 0, 0}},  {18, {11, 79, 0, 0}},  {20, {7, 15, 0, 0}},
    {32, {30, 0, 30, 0}},   {45, {12, 95, 0, 0}},  {46, {13, 111, 0, 0}}, {112, {33, 0, 102, 0}},
    {113, {34, 0, 113, 0}}, {114, {35, 0, 114, 0}}, {115, {49, 0, 115, 0}}, {116, {50, 0, 118, 0}},
    {117, {51, 0, 121, 0}}, {120, {81, 0, 97, 0}},  {121, {82, 0, 98, 0}},  {122, {83, 0, 99, 0}},
    {123, {84, 0, 100, 0}}, {145, {14, 96, 0, 0}},  {160, {8, 31, 0, 0}},  {161, {9, 47, 0, 0}},
    {162, {10, 63, 0, 0}},  {163, {10, 63, 0, 0}}, {164, {11, 79, 0, 0}}, {165, {11, 79, 0, 0}},
};

}  // namespace

OnScreenKeyboardHooks* OnScreenKeyboardForm = &silentOnScreenKeyboard;

void SetOnScreenKeyboardForm(OnScreenKeyboardHooks* form) {
  OnScreenKeyboardForm = form ? form : &silentOnScreenKeyboard;
}

void BuildKeyMap() {
  for (KeyMapEntry& e : KeyMap) e = KeyMapEntry{0, 0, 0, 0};
  for (const MakeOnly& m : kMakeOnly) KeyMap[m.Key].MakeCode = m.Make;
  for (const FullRow& r : kFullRows) KeyMap[r.Key] = r.Codes;
}

KeyboardLink Keyboard;

KeyboardLink::KeyboardLink() {
  BuildKeyMap();
  ResetKeyboard();
}

void KeyboardLink::ResetKeyboard() {
  Locks.Scroll = False;
  OnScreenKeyboardForm->SetPFCaps();
  SetLights(LightScroll, false);
  Locks.Caps = Locks.Insert = Locks.Delete = False;
  SetLights(LightCaps, false);
  SetLights(LightInsert, false);
  SetLights(LightDelete, false);
  Locks.NumLock = True;
  SetLights(LightNumLock, true);
  Locks.KeypadDivide = Locks.KeypadMultiply = Locks.KeypadSubtract = False;
  SetLights(LightKeypadDivide, false);
  SetLights(LightKeypadMultiply, false);
  SetLights(LightKeypadSubtract, false);
  // The keypad locks, Insert and Delete keep their down flags.
  Down.Scroll = Down.NumLock = Down.Caps = Down.Shift = Down.Alt = Down.Ctrl = False;
  Fifo.Count = Fifo.PutIndex = Fifo.GetIndex = 0;
  Fifo.Empty = True;
  Fifo.Full = False;
  KbdPollWaiting = False;
  KbdKeyUnread = False;
  PutKbdJumpers();
}

void KeyboardLink::PutKbdJumpers() {
  if (!KBPutJumpers) return;
  for (uint8_t b : {1, 2, 3, 4, 5, 6, 0}) CharacterArrival(b);
}

void KeyboardLink::CharacterArrival(uint8_t code) {
  // The receiver has room for one byte: a key that arrives while the previous
  // one is unread waits in the FIFO instead of overwriting it.
  if (KbdPollWaiting && Fifo.Count == 0 && !Uart2661.RxRDY)
    HandOver(code);
  else
    KeyFifoPut(code);
}

void KeyboardLink::ReceiverRead() {
  KbdKeyUnread = False;
  if (KbdPollWaiting && Fifo.Count > 0 && !Uart2661.RxRDY) HandOver(KeyFifoGet());
}

void KeyboardLink::HandOver(uint8_t code) {
  KbdLastSent = code;
  Uart2661.ReceiveByte(code);
  KbdKeyUnread = True;
}

void KeyboardLink::Reply(uint8_t byte) {
  Uart2661.ReceiveByte(byte);
  KbdKeyUnread = False;
}

void KeyboardLink::KeyFifoPut(uint8_t byte) {
  if (Fifo.Count >= KeyFifoSize) return;  // full: the key is lost
  Fifo.Buffer[Fifo.PutIndex] = byte;
  Fifo.PutIndex = static_cast<int16_t>((Fifo.PutIndex + 1) % KeyFifoSize);
  ++Fifo.Count;
  if (Fifo.Count >= KeyFifoSize) Fifo.Full = True;
  Fifo.Empty = False;
}

uint8_t KeyboardLink::KeyFifoGet() {
  if (Fifo.Count < 1) return 0;
  const uint8_t byte = Fifo.Buffer[Fifo.GetIndex];
  Fifo.GetIndex = static_cast<int16_t>((Fifo.GetIndex + 1) % KeyFifoSize);
  --Fifo.Count;
  if (Fifo.Count == 0) Fifo.Empty = True;
  Fifo.Full = False;
  return byte;
}

void KeyboardLink::WriteKeyBoard(uint8_t command) {
  switch (command) {
    case KbdCmdZeroReply:
      Reply(0);
      break;
    case KbdCmdStatus:
      Reply(NewKeyBoard ? (Fifo.Count > 0 ? 32 : 0) : 2);
      break;
    case KbdCmdPoll:
      if (KbdKeyUnread && Uart2661.RxRDY && Uart2661.RxReg == KbdLastSent) {
        // A key handed over unasked still waits in the receiver: it answers
        // this poll, and the next key stays queued behind it.
      } else if (Fifo.Count > 0) {
        KbdLastSent = KeyFifoGet();
        Reply(KbdLastSent);
      } else {
        KbdPollWaiting = True;  // the guest's wait is answered by the next key
      }
      break;
    case KbdCmdBeep:
      Host().Beep();
      break;
    case KbdCmdResend:
      Reply(KbdLastSent);
      break;
    default:
      break;
  }
}

bool KeyboardLink::FirstDown(VBool& flag, bool down) {
  if (!down) {
    flag = False;
    return false;
  }
  if (flag) return false;  // host auto-repeat
  flag = True;
  return true;
}

// Alt, Ctrl and Shift: the make code on the first down, the break code on every up.
uint16_t KeyboardLink::ModifierKey(VBool& flag, bool down, uint16_t make, uint16_t brk) {
  if (!down) {
    flag = False;
    return brk;
  }
  return FirstDown(flag, down) ? make : NoKeyCode;
}

// Inverts a lock and shows it on its light; returns the new state.
uint16_t KeyboardLink::ToggleLock(VBool& lock, int light) {
  lock = ToVBool(!lock);
  SetLights(light, lock != 0);
  return lock ? 1 : 0;
}

uint16_t KeyboardLink::ConvertKey(uint16_t keyCode, uint16_t keyState) {
  if (keyCode > 255) return NoKeyCode;
  const bool down = keyState != 0;
  const KeyMapEntry& row = KeyMap[keyCode];
  switch (keyCode) {
    case VkCaps:
      if (!FirstDown(Down.Caps, down)) return NoKeyCode;
      return ToggleLock(Locks.Caps, LightCaps) ? row.MakeCode : row.BreakCode;
    case VkInsert:
      if (!FirstDown(Down.Insert, down)) return NoKeyCode;
      return ToggleLock(Locks.Insert, LightInsert) ? row.MakeCode : row.BreakCode;
    case VkDelete:
      if (!FirstDown(Down.Delete, down)) return NoKeyCode;
      return ToggleLock(Locks.Delete, LightDelete) ? row.MakeCode : row.BreakCode;
    case VkScroll:
      if (!FirstDown(Down.Scroll, down)) return NoKeyCode;
      if (ToggleLock(Locks.Scroll, LightScroll)) {
        OnScreenKeyboardForm->SetHexCaps();
        return row.MakeCode;
      }
      OnScreenKeyboardForm->SetPFCaps();
      return row.BreakCode;
    case VkNumLock:
      if (FirstDown(Down.NumLock, down)) ToggleLock(Locks.NumLock, LightNumLock);
      return NoKeyCode;
    case VkDivide:
      if (FirstDown(Down.KeypadDivide, down)) ToggleLock(Locks.KeypadDivide, LightKeypadDivide);
      return NoKeyCode;
    case VkMultiply:
      if (FirstDown(Down.KeypadMultiply, down)) ToggleLock(Locks.KeypadMultiply, LightKeypadMultiply);
      return NoKeyCode;
    case VkSubtract:
      if (FirstDown(Down.KeypadSubtract, down)) ToggleLock(Locks.KeypadSubtract, LightKeypadSubtract);
      return NoKeyCode;
    case VkAlt:
      return ModifierKey(Down.Alt, down, row.MakeCode, row.BreakCode);
    case VkCtrl:
      return ModifierKey(Down.Ctrl, down, row.MakeCode, row.BreakCode);
    case VkShift:
      return Locks.KeypadSubtract ? ModifierKey(Down.Shift, down, row.AltMakeCode, row.AltBreakCode)
                                  : ModifierKey(Down.Shift, down, row.MakeCode, row.BreakCode);
    default:
      break;
  }
  if (!down) return NoKeyCode;
  if (keyCode == VkSpace) return Locks.KeypadSubtract ? row.AltMakeCode : row.MakeCode;
  if (keyCode >= VkF1 && keyCode <= VkF6) return Locks.KeypadDivide ? row.AltMakeCode : row.MakeCode;
  if (keyCode >= VkF9 && keyCode <= VkF12) return Locks.KeypadMultiply ? row.AltMakeCode : row.MakeCode;
  return row.MakeCode;  // also 0 for an unmapped key, on every down including repeats
}

}  // namespace korva
