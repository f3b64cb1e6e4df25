// The ten bezel keys as both programs see them: the characters the bench posts to the
// display and the display's soft-key table binds. The two knob pushes, the four soft keys
// under the screen from left to right, and the turns of the two knobs.
#pragma once

enum TBezelKey : char {
    KeyLeftPush = '0',
    KeyRightPush = '1',
    KeySoft1 = '2',
    KeySoft2 = '3',
    KeySoft3 = '4',
    KeySoft4 = '5',
    KeyLeftTurnRight = 'a',
    KeyLeftTurnLeft = 'd',
    KeyRightTurnLeft = 's',
    KeyRightTurnRight = 'w',
};

// Every key, pushes and soft keys first, then the turns.
inline constexpr char AllKeys[] = {KeyLeftPush, KeyRightPush, KeySoft1, KeySoft2, KeySoft3, KeySoft4,
                                   KeyLeftTurnRight, KeyLeftTurnLeft, KeyRightTurnLeft, KeyRightTurnRight, '\0'};
// The four knob turns.
inline constexpr const char* KnobTurnKeys = AllKeys + 6;
// A few keys as one string, in the order given (the soft-key table binds in that order):
// KeySet<KeySoft3, KeySoft4> is "45".
template <TBezelKey... Keys>
inline constexpr char KeySet[] = {Keys..., '\0'};
