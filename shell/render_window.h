#pragma once

bool CreateRenderWindow(int width, int height, bool fullScreen, int colorBits);
void DestroyRenderWindow(bool fullScreen);
void ResizeScene(int width, int height);
