// Blank disk images for the "Create New Disk" dialog: IMD images of the nine
// built-in floppy formats, generic raw images of a fill byte, and the expander
// that turns an IMD image with compressed records into a writable copy. The
// writers report progress and take a cancel through NewDiskProgress, which the
// dialog implements (and which pumps host events).
#pragma once
#include <cstdint>
#include <string>

#include "disk/RawFile.h"

namespace korva {

// One built-in IMD format. The three-element fields are data tracks, track-0
// tracks and system tracks, in that order.
struct NewDiskFormat {
  std::string Name;
  int16_t SpecialTracks = 1;
  int16_t Clock[3] = {};    // 6 = 250, 7 = 300, 8 = 500 kbit/s
  int16_t Density[3] = {};  // 1 single (FM), 2 double (MFM)
  int32_t SPT[3] = {};      // sectors per track, counted in NominalSize units
  int32_t Cylinders = 0;
  int16_t Heads = 0;
  int32_t T0Tracks = 1;
  int32_t SysTracks = 0;
  int16_t NominalSize[3] = {};
  int16_t SectorSize[3] = {};
  uint8_t FillByte = 0xE9;
};

enum NewDiskTrackKind { kDataTracks = 0, kTrack0Tracks = 1, kSysTracks = 2 };

constexpr int kNewDiskFormatCount = 9;
// The built-in formats of this run; the clock boxes change them for the rest of the run.
extern NewDiskFormat NewDiskFormats[kNewDiskFormatCount];
void BuildNewDiskFormats();

int16_t ImdModeFromClock(int16_t density, int16_t clock);
uint8_t ImdSizeCode(int32_t size);
int32_t ImdSectorCount(int32_t spt, int32_t nominalSize, int32_t sectorSize);
// Sets all three clocks of a format; only 6, 7 and 8 are taken.
bool SetImdClock(NewDiskFormat& format, int16_t clock);
// The rules a format must pass; messages each followed by CR LF.
bool CheckImdFormat(const NewDiskFormat& format, std::string& messages);

// Generic raw image size: a multiple of 128 within 128..512 MB.
constexpr int32_t MaxNewDiskSize = 536870912;
bool DiskSizeValid(int64_t size);

// Writes a new IMD image (an existing file is replaced); removes the file when
// cancelled. On a host error shows "File Error creating IMD Image". True when
// the image was written whole.
bool CreateIMDImage(const NewDiskFormat& format, const std::string& path, const std::string& comment,
                    NewDiskProgress& progress);
// blocks x 128 bytes of fill; removes the file when cancelled.
bool CreateRawImage(const std::string& path, int32_t blocks, uint8_t fill, NewDiskProgress& progress);

// Expands the IMD image at inPath into outPath and shows the conversion report.
// Refuses an output that is the input file itself. The output is replaced only
// by a whole copy: after a bad or truncated input or a host error it is left as
// it was.
void ExpandCompressedSectors(const std::string& inPath, const std::string& outPath, NewDiskProgress& progress);

// Tests only: when set, called before a finished new image is renamed over its
// path; a non-zero result is taken as the host's error for the rename.
extern int (*NewFileCommitFault)(const std::string& path);

}  // namespace korva
