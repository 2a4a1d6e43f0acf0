#include "shell/PlugFlags.h"

namespace korva {

VBool ReservedPlugged = False;
VBool Mem180to1BF = True;
VBool Mem1C0to1FF = True;
VBool Mem200to3FF = True;
VBool Mem400to5FF = True;
VBool Mem600to7FF = True;
VBool Mem800to9FF = True;
VBool MemA00toBFF = True;
VBool MemC00toDFF = True;
VBool MemF1EtoFFF = True;
VBool MVME400C0Plugged = True;
VBool MVME400C1Plugged = True;
VBool MVME410C0Plugged = True;
VBool FrontPanelPlugged = True;
VBool SimpleDCPlugged = True;
VBool LSNDCPlugged = True;
VBool CPMDCPlugged = True;
VBool DropzonePlugged = True;
VBool UloadDloadPlugged = True;

void ResetPlugFlags() {
  ReservedPlugged = False;
  Mem180to1BF = Mem1C0to1FF = Mem200to3FF = Mem400to5FF = Mem600to7FF = True;
  Mem800to9FF = MemA00toBFF = MemC00toDFF = MemF1EtoFFF = True;
  MVME400C0Plugged = MVME400C1Plugged = MVME410C0Plugged = FrontPanelPlugged = True;
  SimpleDCPlugged = LSNDCPlugged = CPMDCPlugged = DropzonePlugged = UloadDloadPlugged = True;
}

}  // namespace korva
