| The emulator's own disk devices, driven as a guest driver drives them, on
| drive 0 (an IMD floppy with 16 x 256-byte sectors). Statuses go to 0x2000.
        .equ    LSN, 0xF1A400
        .equ    SDC, 0xF1A300
        .equ    CPM, 0xF1A200
        .equ    BLOCK, 0x3000
        .text
        .long   0x00020000
        .long   start
start:
| Logical-sector port: LSN 0-1 into 0x10000, then 0x12000 out to LSN 30.
        lea     BLOCK, %a0
        move.w  #0x0000, (%a0)          | drive 0
        move.l  #0x10000, 4(%a0)
        move.l  #0, 8(%a0)
        move.w  #2, 12(%a0)
        bsr     lsncmd16
        move.w  LSN, 0x2000
        move.w  2(%a0), 0x2002          | completion word
        move.l  #0x12000, 4(%a0)
        move.l  #30, 8(%a0)
        move.w  #1, 12(%a0)
        move.w  #0, LSN                 | address high, low, then command 17
        move.w  #BLOCK, LSN+2
        move.w  #17, LSN+4
        move.w  LSN, 0x2004
| Simple controller: track 1 side 0 sector 2 into 0x14000; 0x12000 to track 1 side 1 sector 3.
        lea     SDC, %a1
        move.w  (%a1), %d0              | read the status: clear it
        clr.w   2(%a1)
        move.w  #1, 4(%a1)
        clr.w   6(%a1)
        move.w  #2, 8(%a1)
        move.w  #0x0001, 10(%a1)
        move.w  #0x4000, 12(%a1)
        move.w  #1, (%a1)
        move.w  (%a1), 0x2006
        move.w  #1, 6(%a1)
        move.w  #3, 8(%a1)
        move.w  #0x2000, 12(%a1)
        move.w  #2, (%a1)
        move.w  (%a1), 0x2008
| CP/M controller: linear track 2, record 2 into 0x16000; 0x12000 to record 5.
        lea     CPM, %a2
        move.w  (%a2), %d0
        clr.w   2(%a2)
        move.w  #2, 14(%a2)
        move.w  #2, 8(%a2)
        move.w  #0x0001, 10(%a2)
        move.w  #0x6000, 12(%a2)
        move.w  #1, (%a2)
        move.w  (%a2), 0x200A
        move.w  #5, 8(%a2)
        move.w  #0x2000, 12(%a2)
        move.w  #2, (%a2)
        move.w  (%a2), 0x200C
        stop    #0x2700

lsncmd16:
        move.w  #16, LSN+4              | command first: it runs on the third write
        move.w  #0, LSN
        move.w  #BLOCK, LSN+2
        rts
