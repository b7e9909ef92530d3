#include "ui/FrameGeometry.h"

FrameRect InitialFrameRect(int screenWidth, int screenHeight) {
    FrameRect rect;
    rect.height = screenHeight / 2 + 340;
    rect.width = screenWidth / 2 + 291;
    rect.top = (rect.height - 680) / 2;
    rect.left = (rect.width - 582) / 2;
    return rect;
}

FrameSize ShrinkFrameToForm(FrameSize frame, FrameSize client, FrameSize form) {
    FrameSize result = frame;
    if (client.width > form.width) result.width -= client.width - form.width;
    if (client.height > form.height) result.height -= client.height - form.height;
    return result;
}
