#include "serial/Cable.h"

#include <cstddef>

#include "serial/Consoles.h"
#include "serial/MVME400.h"

namespace korva {

classCable Cable;

namespace {

// The window of the port's TTY, CRT or NET console; nullptr for any other kind.
SerialConsoleWindow* SerialWindow(size_t p) {
  switch (ConsoleType[p]) {
    case ConsoleTTY: return TerminalForms[p];
    case ConsoleCRT: return CRTForms[p];
    case ConsoleNET: return NetPortForms[p];
    default: return nullptr;
  }
}

}  // namespace

classCable::classCable() : cards_{&MVME400C0, &MVME400C1} {
  for (classQueueB& q : queues_) q.Create(QueueSize);
}

void classCable::AttachCard(int card, CableCard* notices) {
  if (card == 0 || card == 1) cards_[static_cast<size_t>(card)] = notices;
}

void classCable::WriteCardLine(int16_t port, VBool state, VBool CableLines::*line, CardNotice onA,
                               CardNotice onB) {
  if (!IsDevicePort(port)) return;
  VBool& stored = lines_[static_cast<size_t>(port)].*line;
  if (stored != state && port < 4) {
    if (CableCard* card = cards_[static_cast<size_t>(port / 2)]) (card->*((port & 1) ? onB : onA))(state);
  }
  stored = state;
}

void classCable::WriteCardDrivenLine(int16_t port, VBool state, VBool CableLines::*line, bool isDtr) {
  if (!IsDevicePort(port)) return;
  const auto p = static_cast<size_t>(port);
  if (lines_[p].*line != state) {
    if (SerialConsoleWindow* w = SerialWindow(p)) {
      if (isDtr)
        w->DTRChanged(state);
      else
        w->RTSChanged(state);
    }
  }
  lines_[p].*line = state;
}

void classCable::Connect(int16_t port, VBool state) {
  if (!IsDevicePort(port)) return;
  if (state == True || state == False) {
    CTS(port, state);
    DCD(port, state);
    DSR(port, state);
    RI(port, False);
  }
  FlushQueue(port);
}

void classCable::tX(int16_t port, uint8_t byte) {
  if (!IsDevicePort(port)) return;
  const auto p = static_cast<size_t>(port);
  if (SerialConsoleWindow* w = SerialWindow(p)) w->Outchar(byte);
}

uint8_t classCable::RX(int16_t port) {
  if (!IsDevicePort(port)) return 0;
  const auto p = static_cast<size_t>(port);
  const uint8_t byte = queues_[p].Data();
  if (feeders_[p] && queues_[p].Count() == 0) feeders_[p]->QueueEmptied(port);
  return byte;
}

void classCable::RX(int16_t port, uint8_t byte) {
  if (IsDevicePort(port)) queues_[static_cast<size_t>(port)].Data(byte);
}

void classCable::DCD(int16_t port, VBool state) {
  WriteCardLine(port, state, &CableLines::DCD, &CableCard::DCDChangedA, &CableCard::DCDChangedB);
}
void classCable::CTS(int16_t port, VBool state) {
  WriteCardLine(port, state, &CableLines::CTS, &CableCard::CTSChangedA, &CableCard::CTSChangedB);
}
void classCable::Break(int16_t port, VBool state) {
  WriteCardLine(port, state, &CableLines::Break, &CableCard::BreakChangedA, &CableCard::BreakChangedB);
}
void classCable::DSR(int16_t port, VBool state) {
  WriteCardLine(port, state, &CableLines::DSR, &CableCard::DSRChangedA, &CableCard::DSRChangedB);
}
void classCable::RI(int16_t port, VBool state) {
  WriteCardLine(port, state, &CableLines::RI, &CableCard::RIChangedA, &CableCard::RIChangedB);
}
void classCable::RTS(int16_t port, VBool state) { WriteCardDrivenLine(port, state, &CableLines::RTS, false); }
void classCable::DTR(int16_t port, VBool state) { WriteCardDrivenLine(port, state, &CableLines::DTR, true); }

void classCable::FlushQueue(int16_t port) {
  if (!IsDevicePort(port)) return;
  const auto p = static_cast<size_t>(port);
  queues_[p].Flush();
  if (feeders_[p]) feeders_[p]->QueueEmptied(port);
}

void classCable::Reset() {
  for (classQueueB& q : queues_) q.Flush();
  for (int16_t port = 0; port < 16; ++port)
    if (CableFeeder* f = feeders_[static_cast<size_t>(port)]) f->QueueEmptied(port);
}

}  // namespace korva
