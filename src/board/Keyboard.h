// The machine's keyboard: it turns host key events (Windows virtual-key codes)
// into the keyboard's one-byte key codes through a fixed key map, keeps the
// lock keys and their lights, queues key codes in a 4096-byte FIFO, answers the
// command bytes the processor sends through the keyboard UART, and performs the
// keyboard reset that the system control module triggers. One instance, in the
// slot Keyboard; the screen window forwards its key events to ConvertKey and
// CharacterArrival.
#pragma once
#include <cstdint>

#include "tables/Types.h"

namespace korva {

// One row of the key map; 0 = nothing set.
struct KeyMapEntry {
  uint16_t MakeCode;     // sent when the key goes down
  uint16_t BreakCode;    // sent when it goes up (only the keys that send release codes)
  uint16_t AltMakeCode;  // used instead while the key's alternate lock is on
  uint16_t AltBreakCode;
};

// Indexed by the host's virtual-key code; built once by BuildKeyMap.
extern KeyMapEntry KeyMap[256];
void BuildKeyMap();

// Options (settings section "Devices"): NewKeyBoard selects the status reply,
// KBPutJumpers makes a keyboard reset queue the jumper bytes.
extern VBool NewKeyBoard;
extern VBool KBPutJumpers;

// The bytes the processor sends to the keyboard; other values are ignored.
enum KeyboardCommand : uint8_t {
  KbdCmdZeroReply = 0x80,  // reply 0
  KbdCmdStatus = 0x90,     // reply 2, or with NewKeyBoard 0 (FIFO empty) / 32 (keys queued)
  KbdCmdPoll = 0xA0,       // reply the oldest key; on an empty FIFO no reply, and poll mode
  KbdCmdBeep = 0xB0,       // no reply; the host beeps
  KbdCmdResend = 0xD0,     // reply the last key sent again
};

// The caps of the on-screen keyboard follow the scroll lock. Never null: until
// that window attaches, a silent instance does nothing.
class OnScreenKeyboardHooks {
 public:
  virtual ~OnScreenKeyboardHooks() = default;
  virtual void SetHexCaps() {}  // scroll lock on
  virtual void SetPFCaps() {}   // scroll lock off
};
extern OnScreenKeyboardHooks* OnScreenKeyboardForm;
void SetOnScreenKeyboardForm(OnScreenKeyboardHooks* form);  // nullptr restores the silent one

constexpr uint16_t NoKeyCode = 65535;  // ConvertKey: nothing to send
constexpr int KeyFifoSize = 4096;

struct KeyboardLockStates {
  VBool Scroll = False, Caps = False, Insert = False, Delete = False, NumLock = False;
  VBool KeypadDivide = False, KeypadMultiply = False, KeypadSubtract = False;
};

// True between a key's first down event and its up event.
struct KeyDownFlags {
  VBool Scroll = False, NumLock = False, Caps = False, Shift = False, Alt = False, Ctrl = False;
  VBool KeypadDivide = False, KeypadMultiply = False, KeypadSubtract = False, Insert = False, Delete = False;
};

struct KeyFifo {
  uint8_t Buffer[KeyFifoSize] = {};
  int16_t Count = 0, PutIndex = 0, GetIndex = 0;
  VBool Empty = True, Full = False;
};

class KeyboardLink {
 public:
  // Builds the key map and runs the keyboard reset.
  KeyboardLink();

  // The keyboard reset: locks and their lights to their start values, FIFO
  // emptied, poll mode left; then the jumper bytes when KBPutJumpers is set.
  void ResetKeyboard();
  // One key code towards the processor: straight into the UART in poll mode
  // while the FIFO is empty and the UART's receiver holds nothing unread, else
  // into the FIFO.
  void CharacterArrival(uint8_t code);
  // The processor has read the UART's data register: in poll mode the next
  // queued key takes the receiver's place.
  void ReceiverRead();
  // One command byte from the processor.
  void WriteKeyBoard(uint8_t command);
  // A host key event (keyState 1 down, 0 up) -> the key code to send, or
  // NoKeyCode. Updates locks, lights and key-down flags. Host codes above 255
  // are ignored.
  uint16_t ConvertKey(uint16_t keyCode, uint16_t keyState);

  KeyboardLockStates Locks;
  KeyDownFlags Down;
  KeyFifo Fifo;
  // A poll found the FIFO empty: from then on keys go to the UART as soon as
  // its receiver is free, until the next keyboard reset.
  VBool KbdPollWaiting = False;
  uint8_t KbdLastSent = 0;  // repeated by the resend command
  // A key handed to the UART without a poll has not been read yet: it is the
  // answer to the next poll, which must not overwrite it.
  VBool KbdKeyUnread = False;

 private:
  void KeyFifoPut(uint8_t byte);
  uint8_t KeyFifoGet();
  void PutKbdJumpers();
  void HandOver(uint8_t code);  // a key into the UART's receiver, unasked
  void Reply(uint8_t byte);     // a command's answer into the UART's receiver
  // First down of a key with a down flag: sets the flag. Up: clears it.
  static bool FirstDown(VBool& flag, bool down);
  static uint16_t ModifierKey(VBool& flag, bool down, uint16_t make, uint16_t brk);
  uint16_t ToggleLock(VBool& lock, int light);
};

extern KeyboardLink Keyboard;

}  // namespace korva
