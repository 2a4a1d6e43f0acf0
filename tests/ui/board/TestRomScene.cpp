// The scene is defined in its header, which the headless picture test shares.
#include "ui/board/TestRomScene.h"
