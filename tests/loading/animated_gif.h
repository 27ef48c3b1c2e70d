#pragma once

#include <vector>

// A 1x1 GIF with two frames of 100 ms: the smallest picture that GDI+ animates along the time dimension.
inline std::vector<unsigned char> animatedGif() {
    return {
        'G',  'I',  'F',  '8',  '9',  'a',  1, 0, 1, 0, 0x80, 0, 0,  // a 1x1 screen with two colours
        0,    0,    0,    0xFF, 0xFF, 0xFF,                          // black and white
        0x21, 0xF9, 4,    0,    10,   0,    0, 0,                    // first frame: 100 ms,
        0x2C, 0,    0,    0,    0,    1,    0, 1, 0, 0,              // 1x1 at 0,0,
        2,    2,    0x44, 1,    0,                                   // one black pixel, LZW coded
        0x21, 0xF9, 4,    0,    10,   0,    0, 0,                    // second frame: the same
        0x2C, 0,    0,    0,    0,    1,    0, 1, 0, 0,              //
        2,    2,    0x44, 1,    0,                                   //
        0x3B,                                                        // end of the picture
    };
}
