// What the web backend's parts share with each other.
#pragma once

// The F12 screenshot: writes the next stivra_NN.bmp and offers it as a download.
void web_take_screenshot();
// Places the canvas in the game box by the letterbox rule when the box changed size.
void web_layout();
