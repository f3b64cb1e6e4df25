// Every picture and GL texture the display program loads from "Data/", with
// its size, file form and transparency, and how the drawing code cuts it.
// gen_pictures draws exactly these; the pages may rely on the geometry here.
#pragma once

#include <cstdint>

#include "../gui/gui_terr/glfontlayout.h"

namespace pic {

enum class Form : uint8_t {
    TgaKeyed,    // 32-bit TGA, bottom-up, alpha 255; transparent pixels are (240, 0, 240),
                 // which loads as the pages' key 0xFFF000F0
    TgaEnt,      // 24-bit TGA, rows top-down (descriptor 0x20); (240, 0, 240) is turned
                 // into the key 0xFFF000F0 by the entertainment screen's own reader
    TgaGl24,     // 24-bit TGA, bottom-up, for GL (opaque)
    TgaGl32,     // 32-bit TGA, bottom-up, real alpha, for GL with blending
    Gif,         // GIF89a; with transparent pixels palette entry 0 is the transparent
                 // index, which the toolkit turns into 0xFE00FE
    Bmp24,       // 24-bit BMP, no key
};

struct PictureInfo {
    const char* file;  // under the Data directory
    int width, height;
    Form form;
};

// Widths and heights where the pages give none were chosen to fit the
// 800 x 480 layout around the positions the pages draw at (noted "chosen").
inline constexpr PictureInfo Pictures[] = {
    // Flight page frames and symbols (loaded with the main window, keyed).
    {"3dtlak.tga", 110, 42, Form::TgaKeyed},           // baro box at (612, 422); light, text drawn black on it
    {"3dvyskomer.tga", 125, 100, Form::TgaKeyed},      // altimeter frame, 5 digits (light drum windows, see Alt*)
    {"3dvyskomer2.tga", 125, 100, Form::TgaKeyed},     // altimeter frame, 4 digits
    {"3drychlomer.tga", 96, 100, Form::TgaKeyed},      // airspeed frame (see Ias*)
    {"jednotky.tga", 22, 416, Form::TgaKeyed},         // digit drum, see Drum1*
    {"stovky.tga", 14, 1400, Form::TgaKeyed},          // hundreds drum and heading digits, see Drum100*
    {"desitky.tga", 32, 360, Form::TgaKeyed},          // tens drum ("00".."90"), see Drum10*
    {"desitkyALTnula.tga", 55, 144, Form::TgaKeyed},   // near-zero drum: hundreds "0" + tens, see DrumNear*
    {"zjednotky.tga", 22, 416, Form::TgaKeyed},        // negative digit drum, see DrumNeg1*
    {"zstovky.tga", 16, 1288, Form::TgaKeyed},         // negative hundreds drum (read from column 1)
    {"zdesitky.tga", 32, 384, Form::TgaKeyed},         // negative tens drum
    {"3dkulicka.tga", 30, 30, Form::TgaKeyed},         // slip ball
    {"3dbreminko.tga", 110, 30, Form::TgaKeyed},       // aircraft symbol, yellow; reference line at rows 0..6
    {"3dbreminkoC.tga", 110, 30, Form::TgaKeyed},      // the same, green: adjust mode at offset 0
    {"3dbreminkoE.tga", 110, 30, Form::TgaKeyed},      // the same, orange: adjust mode off centre
    {"3dsipkaHorL.tga", 50, 16, Form::TgaKeyed},       // left horizon arrow, tip at right, row 8
    {"3dsipkaHorR.tga", 50, 16, Form::TgaKeyed},       // right horizon arrow, tip at left, row 8
    {"3dkompas.tga", 75, 43, Form::TgaKeyed},          // heading window: light box cols 12..61, rows 0..33, pointer below
    {"cisliceFont.tga", 10, 202, Form::TgaKeyed},      // VSI digits, white: digit d cell 10 x 12 at row 19 d, '-' at 190 (left 5 cols)
    {"cisliceFont2.tga", 16, 280, Form::TgaKeyed},     // tape digits, white: digit d 16 x 18 at row 25 d + 6, '-' at 258 (left 10 cols)
    {"tlacitko.tga", 100, 20, Form::TgaKeyed},         // soft-key button 100 px
    {"tlacitko1.tga", 90, 20, Form::TgaKeyed},         // soft-key button 90 px
    {"tlacitko2.tga", 78, 20, Form::TgaKeyed},         // soft-key button, other widths (78 px is the only one used)
    {"tlacitkored.tga", 100, 20, Form::TgaKeyed},      // red set
    {"tlacitko1red.tga", 90, 20, Form::TgaKeyed},
    {"tlacitko2red.tga", 78, 20, Form::TgaKeyed},
    {"3dnastaveni.tga", 200, 81, Form::TgaKeyed},      // editor box 200 x 81 (baro editor, code entry, ID editor); light
    {"3dnastaveni2.tga", 150, 80, Form::TgaKeyed},     // editor box 150 x 80 (numeric editors with a title); light
    {"AP_ON.tga", 56, 28, Form::TgaKeyed},             // annunciators: one 56 x 28 slot each
    {"cnpy.tga", 56, 28, Form::TgaKeyed},
    {"gearup.tga", 56, 28, Form::TgaKeyed},
    {"geardown.tga", 56, 28, Form::TgaKeyed},
    {"geartransit.tga", 56, 28, Form::TgaKeyed},
    {"gearerror.tga", 56, 28, Form::TgaKeyed},         // loaded, not drawn by the pages
    {"CO2.tga", 56, 28, Form::TgaKeyed},               // loaded, not drawn by the pages
    {"stred.tga", 30, 30, Form::TgaKeyed},             // large needle hub (chosen; loaded, not drawn)
    {"stredmaly.tga", 14, 14, Form::TgaKeyed},         // needle hub drawn at centre - 7
    {"box_comm_xpdr_1r.tga", 154, 49, Form::TgaKeyed}, // radio box, one row; opaque everywhere (loaded
    {"box_comm_xpdr_2r.tga", 154, 84, Form::TgaKeyed}, //   without draw mode 9), light, texts black
    {"3Dterrain_err.tga", 100, 24, Form::TgaKeyed},    // terrain annunciation frame (chosen: its text
                                                       //   below stays clear of the radio box at y 320)
    // Paletted pictures of the main window.
    {"kompas.gif", 3800, 42, Form::Gif},               // heading tape: heading D degrees at column 510 + 8 D,
                                                       //   covering -63..411 degrees, ticks at the bottom
    {"stupniceAngle.gif", 32, 280, Form::Gif},         // pitch numbers N = 10..80: pure white glyphs in the
                                                       //   32 x 20 block at row 28 N / 10 + 3, rest transparent
    {"gif_st.gif", 16, 16, Form::Gif},                 // small status mark (chosen; loaded, not drawn)
    {"stupniceHSI.gif", 32, 336, Form::Gif},           // HSI card labels N 3 6 E 12 15 S 21 24 W 30 33:
                                                       //   label j in the 32 x 16 block at row 28 j + 3
    {"ramecekHSI.gif", 80, 37, Form::Gif},             // HSI lubber frame, pointer at the bottom centre
    // Entertainment screen.
    {"VerBar3d-Red.tga", 10, 20, Form::TgaEnt},        // vertical 3-D bar tiles (tapes, picture bars)
    {"VerBar3d-Green.tga", 10, 20, Form::TgaEnt},
    {"VerBar3d-Yellow.tga", 10, 20, Form::TgaEnt},
    {"VerBar3d-White.tga", 10, 20, Form::TgaEnt},
    {"VerBar3d-GreenWhite.tga", 10, 20, Form::TgaEnt}, // white left half, green right half
    {"VerBar3d-Gray.tga", 10, 20, Form::TgaEnt},
    {"HorBarT3d-Gray.tga", 10, 14, Form::TgaEnt},      // horizontal bar tile, 14 thick (side-slip bars)
    {"EntBlackButton.tga", 190, 50, Form::TgaEnt},     // mode entry frame at x 595, 60 px apart
    {"EntBarLeft.tga", 4, 8, Form::TgaEnt},            // position bar: cap width 4, height 8
    {"EntBarMidle.tga", 8, 8, Form::TgaEnt},
    {"EntBarRight.tga", 4, 8, Form::TgaEnt},
    {"EntVideoUpper.tga", 480, 42, Form::TgaEnt},      // video frame top at (50, 48)
    {"EntVideoLower.tga", 480, 24, Form::TgaEnt},      // video frame bottom at (50, 384)
    {"EntAudioUpper.bmp", 340, 50, Form::Bmp24},       // music page bands at (130, 100) and (130, 250)
    {"EntAudioMidle.bmp", 340, 100, Form::Bmp24},      // music page middle at (130, 150)
    {"EntMap.gif", 360, 190, Form::Gif},               // flight-data map, centred on x 280 at y 250
    {"BtnOpen.bmp", 40, 20, Form::Bmp24},              // buttons: normal half left, pressed half right (20 x 20)
    {"BtnPlay.bmp", 40, 20, Form::Bmp24},
    {"BtnPause.bmp", 40, 20, Form::Bmp24},
    {"BtnStop.bmp", 40, 20, Form::Bmp24},
    {"BtnFrwd.bmp", 40, 20, Form::Bmp24},
    {"BtnBkwd.bmp", 40, 20, Form::Bmp24},
    {"BtnMaximi.bmp", 40, 20, Form::Bmp24},
    {"BtnSelect.bmp", 40, 20, Form::Bmp24},
    // GL textures (the loader takes them bottom-up as GL wants).
    {"font6.tga", 512, 256, Form::TgaGl32},            // texture fonts: 16 x 8 cells of 32 x 32, glyph j at
    {"font_t.tga", 512, 256, Form::TgaGl32},           //   column j % 16, row j / 16 from the top; white, alpha =
    {"font_r.tga", 512, 256, Form::TgaGl32},           //   coverage, baseline 26 rows below the cell top; see
    {"font_w.tga", 512, 256, Form::TgaGl32},           //   GlFontCharset / GlFontWidths
    {"ems_bud1.tga", 256, 256, Form::TgaGl32},         // full dial face, radius 100 around the centre
    {"ems_bud2.tga", 256, 256, Form::TgaGl32},         // left half dial up to the centre, cut 50 px below it
    {"ems_bud3.tga", 256, 256, Form::TgaGl32},         // right half dial from the centre, cut 50 px below it
    {"ems_bud4.tga", 86, 144, Form::TgaGl32},          // temperature face behind the bar at (404, 350), fits between the half dials
    {"rucickaV.tga", 16, 128, Form::TgaGl32},          // needle pointing up (tip in the top row)
    {"ems_main1.tga", 800, 480, Form::TgaGl24},        // full engine page background
    {"ems_male.tga", 242, 480, Form::TgaGl24},         // engine strip background (four dials)
    {"ems_d_male.tga", 242, 480, Form::TgaGl24},       // engine strip background (two dials)
    {"motorv2.tga", 64, 84, Form::TgaGl32},            // engine top views, centred on the block's x (chosen)
    {"motorv4.tga", 64, 170, Form::TgaGl32},
    {"motorv6.tga", 64, 200, Form::TgaGl32},
};

inline constexpr uint32_t KeyRgb = 0xF000F0;  // colour of transparent pixels in keyed TGAs

// Drum strips: a glyph of digit value k (k taken mod 10) starts at the row
// given; rows between glyphs are transparent, the frames supply the light
// drum windows behind them, so glyphs are black.
inline constexpr int Drum1ZeroRow = 351;   // jednotky: digit k at 351 - 32 k, k = -1..11, 28 rows high
inline constexpr int Drum1Pitch = 32;
inline constexpr int Drum1Cell = 28;
inline constexpr int DrumNeg1ZeroRow = 64; // zjednotky: digit k at 64 + 32 k, k = 0..10
inline constexpr int Drum100ZeroRow = 1256;  // stovky: digit k, k = -1..11, in four 28-row copies from
inline constexpr int Drum100Pitch = 112;     //   1256 - 112 k - 29 (the altimeter's 82-row window shows the
inline constexpr int Drum100Glyph = 28;      //   copy beside each tens label); the heading cell
inline constexpr int Drum100First = -29;     //   1252 - 112 k .. + 32 holds the copy at 1256 - 112 k - 1 whole
inline constexpr int DrumNeg100ZeroRow = 134;  // zstovky: digit k, k = 0..10, columns 1..14, in four copies
inline constexpr int DrumNeg100First = -26;    //   from 134 + 112 k - 26
inline constexpr int Drum10ZeroCentre = 318;   // desitky: label v (multiple of 10) centred on 318 - 2.8 v, v = -10..110
inline constexpr int DrumNeg10ZeroCentre = 65; // zdesitky: label of magnitude v centred on 65 + 2.8 v, v = -10..110
inline constexpr int DrumNearZeroCentre = 77;  // desitkyALTnula: "0" and label v centred on 77 - 2.8 v, v = -20..20;
                                               //   columns 0..13 hundreds, 15..46 tens, 47..54 transparent

}  // namespace pic
