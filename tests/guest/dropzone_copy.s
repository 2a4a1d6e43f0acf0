| Drop zone and upload port: count the dropped files, select the first, copy
| its guest name to 0x2010, its size to 0x2004, then copy its bytes to the
| upload file until the status says end of file, and release the zone.
        .equ    DZ, 0xF1A060
        .equ    UD, 0xF1A070
        .text
        .long   0x00020000
        .long   start
start:  lea     DZ, %a0
        lea     UD, %a1
        clr.w   %d0
        move.b  1(%a0), %d0
        move.w  %d0, 0x2000             | number of files
        move.b  #1, 1(%a0)              | select file 1
        lea     0x2010, %a2
name:   move.b  5(%a0), %d1             | guest name up to its 0
        move.b  %d1, (%a2)+
        bne.s   name
        move.w  6(%a0), %d2             | size, upper then lower word
        swap    %d2
        move.w  8(%a0), %d2
        move.l  %d2, 0x2004
copy:   tst.b   11(%a0)                 | status 0 while bytes remain
        bne.s   done
        move.b  13(%a0), %d1
        tst.b   11(%a0)                 | the read past the end gives 0x1A and status 1
        bne.s   done
        move.b  %d1, 5(%a1)             | append to the upload file
        bra.s   copy
done:   clr.b   1(%a0)                  | release the zone
        stop    #0x2700
