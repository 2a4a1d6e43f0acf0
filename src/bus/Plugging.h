// Plugging and unplugging the optional RAM ranges, boards and emulator devices.
// Each setter only recodes the item's address window (its own codes when
// plugged, a bus-error code when not): memory contents and device state are
// kept, so an item plugged in again shows what it held before. The setters do
// not change or save the plug flags.
#pragma once
#include "tables/Types.h"

namespace korva {

void PlugRam(VBool plugged);          // 060000-17FFFF
void PlugMem180to1BF(VBool plugged);
void PlugMem1C0to1FF(VBool plugged);
void PlugMem200to3FF(VBool plugged);
void PlugMem400to5FF(VBool plugged);
void PlugMem600to7FF(VBool plugged);
void PlugMem800to9FF(VBool plugged);
void PlugMemA00toBFF(VBool plugged);
void PlugMemC00toDFF(VBool plugged);
void PlugMemF1EtoFFF(VBool plugged);  // F1E000-FFFFFF

void PlugSimpleDC(VBool plugged);     // F1A300-F1A31F
void PlugCPMDC(VBool plugged);        // F1A200-F1A21F
void PlugLSNDC(VBool plugged);        // F1A400-F1A41F
void PlugDropzone(VBool plugged);     // F1A060-F1A06F
void PlugUloadDload(VBool plugged);   // F1A070-F1A07B

void PlugRWIN(VBool plugged);         // F1C0D0-F1C0DF; the controller is always present
void PlugMVME400C0(VBool plugged);    // F1C1C0-F1C1DF
void PlugMVME400C1(VBool plugged);    // F1C1A0-F1C1BF
void PlugMVME410C0(VBool plugged);    // F1C1E0-F1C1FF

}  // namespace korva
