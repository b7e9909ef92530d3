#pragma once

// Pixel rectangle of a top-level window: position of its top-left corner and its size.
struct FrameRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the main frame is first created on a screen of screenWidth x screenHeight pixels:
// each side the mean of the screen's side and 582 (width) or 680 (height) pixels, centred,
// with integer divisions that truncate toward zero. On a small screen the top or left edge
// lies off the screen.
FrameRect InitialFrameRect(int screenWidth, int screenHeight);

struct FrameSize {
    int width = 0;
    int height = 0;
};

// The frame's size after it is shrunk to the form: in each direction on its own, a client
// area larger than the form is reduced until it just holds the form; a smaller one keeps
// its size (the form scrolls that way instead).
FrameSize ShrinkFrameToForm(FrameSize frame, FrameSize client, FrameSize form);
