// The sixteen-port virtual cable between the serial board channels and the
// console windows. Each port has a receive queue (bytes typed in the console,
// waiting for the guest) and seven modem lines; a byte the guest sends goes
// straight to the port's console window, there is no transmit queue.
//
// Ports 0-3 are the channels A and B of serial cards 0 and 1: a change of a
// line the console side drives is told to the card before it is stored, so the
// card still reads the old value while it handles the change. A port outside
// 0-15 changes nothing and reads 0 or False.
#pragma once
#include <array>
#include <cstdint>

#include "tables/Queues.h"
#include "tables/Types.h"

namespace korva {

// What the cable tells the serial card behind ports 0-3 (channel A or B).
class CableCard {
 public:
  virtual ~CableCard() = default;
  virtual void DCDChangedA(VBool state) = 0;
  virtual void DCDChangedB(VBool state) = 0;
  virtual void CTSChangedA(VBool state) = 0;
  virtual void CTSChangedB(VBool state) = 0;
  virtual void BreakChangedA(VBool state) = 0;
  virtual void BreakChangedB(VBool state) = 0;
  virtual void DSRChangedA(VBool state) = 0;
  virtual void DSRChangedB(VBool state) = 0;
  virtual void RIChangedA(VBool state) = 0;
  virtual void RIChangedB(VBool state) = 0;
};

// The seven modem lines of a port (0 False, -1 True). DCD, CTS, DSR, RI and
// Break are driven by the console side, DTR and RTS by the serial card.
struct CableLines {
  VBool DCD = False;
  VBool DTR = False;
  VBool CTS = False;
  VBool RTS = False;
  VBool DSR = False;
  VBool RI = False;
  VBool Break = False;
};

// Whoever refills a port's receive queue from a source of its own (a NET
// window from its socket): told each time the queue becomes empty, so bytes
// left waiting at the source follow as soon as there is room.
class CableFeeder {
 public:
  virtual ~CableFeeder() = default;
  virtual void QueueEmptied(int16_t port) = 0;
};

class classCable {
 public:
  static constexpr int32_t QueueSize = 4096;

  // Empty queues of 4096 bytes, every line False, ports 0-3 told to the two
  // serial cards.
  classCable();

  // The card told about ports 0-3 (card 0: ports 0 and 1; card 1: ports 2 and
  // 3); nullptr tells nobody.
  void AttachCard(int card, CableCard* notices);

  // state True: CTS, DCD, DSR True and RI False, in this order, each through
  // its line write; state False: all four False; any other value changes no
  // line. The port's receive queue is flushed in every case.
  void Connect(int16_t port, VBool state);
  // A byte the port's serial channel sends: handed to the Outchar of the port's
  // TTY, CRT or NET window by its ConsoleType; dropped for every other kind and
  // when the kind's window is not attached.
  void tX(int16_t port, uint8_t byte);
  // True when the port's receive queue holds a byte.
  VBool RXavailable(int16_t port) const {
    return IsPort(port) && queues_[static_cast<unsigned>(port)].Count() > 0 ? True : False;
  }
  // Takes the next byte of the queue; an empty queue gives the last byte taken
  // again (0 after a flush).
  uint8_t RX(int16_t port);
  // Puts a typed byte into the queue; dropped when the queue is full.
  void RX(int16_t port, uint8_t byte);
  // Bytes the port's queue can still take (0 outside 0-15).
  int32_t QueueRoom(int16_t port) const {
    if (!IsPort(port)) return 0;
    const classQueueB& q = queues_[static_cast<unsigned>(port)];
    return q.Size() - q.Count();
  }
  // The port's feeder (nullptr: none), told after a read takes the last byte
  // of the queue, after a read of an empty queue, and after every flush.
  void SetFeeder(int16_t port, CableFeeder* feeder) {
    if (IsPort(port)) feeders_[static_cast<unsigned>(port)] = feeder;
  }
  CableFeeder* Feeder(int16_t port) const { return IsPort(port) ? feeders_[static_cast<unsigned>(port)] : nullptr; }

  VBool DCD(int16_t port) const { return Line(port, &CableLines::DCD); }
  void DCD(int16_t port, VBool state);
  VBool CTS(int16_t port) const { return Line(port, &CableLines::CTS); }
  void CTS(int16_t port, VBool state);
  VBool Break(int16_t port) const { return Line(port, &CableLines::Break); }
  void Break(int16_t port, VBool state);
  VBool DSR(int16_t port) const { return Line(port, &CableLines::DSR); }
  void DSR(int16_t port, VBool state);
  VBool RI(int16_t port) const { return Line(port, &CableLines::RI); }
  void RI(int16_t port, VBool state);
  // DTR and RTS tell the port's TTY, CRT or NET window (DTRChanged,
  // RTSChanged) when the value changes, then store it.
  VBool RTS(int16_t port) const { return Line(port, &CableLines::RTS); }
  void RTS(int16_t port, VBool state);
  VBool DTR(int16_t port) const { return Line(port, &CableLines::DTR); }
  void DTR(int16_t port, VBool state);

  // Empties the port's queue and forgets the last byte taken.
  void FlushQueue(int16_t port);
  // Empties the sixteen receive queues; the lines keep their values.
  void Reset();

 private:
  using CardNotice = void (CableCard::*)(VBool);
  static bool IsPort(int16_t port) { return static_cast<uint16_t>(port) < 16; }
  VBool Line(int16_t port, VBool CableLines::*line) const {
    return IsPort(port) ? lines_[static_cast<unsigned>(port)].*line : False;
  }
  // A line the console side drives: the card first (ports 0-3), then the store.
  void WriteCardLine(int16_t port, VBool state, VBool CableLines::*line, CardNotice onA, CardNotice onB);
  // A line the card drives: the port's window first, then the store.
  void WriteCardDrivenLine(int16_t port, VBool state, VBool CableLines::*line, bool isDtr);

  std::array<classQueueB, 16> queues_;
  std::array<CableLines, 16> lines_{};
  std::array<CableCard*, 2> cards_{};
  std::array<CableFeeder*, 16> feeders_{};
};

extern classCable Cable;

}  // namespace korva
