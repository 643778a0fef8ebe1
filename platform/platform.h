// The SDL frame: the only module that starts SDL and owns the window, renderer
// and font handles; GetSDLEvents is the one non-blocking pump into the input globals.
#pragma once
#include <SDL.h>
#include <cstdint>

// Handles, set by SDLInit and kept for the whole run.
extern SDL_Window* SDLWindow;           // the one 640x400 window
extern SDL_Renderer* SDLRenderer;       // its renderer; every drawing call goes through it
extern SDL_DisplayMode Display;         // mode of display 0 at start-up; kept for callers
extern SDL_Joystick* SDLJoystick[4];    // joysticks 0..3 where present, else null
extern SDL_TouchID SDLTouchID;          // touch device 0, 0 if none
extern SDL_Surface* SDLSurface;         // current surface; the font image after start-up
extern SDL_Texture* BASFont;            // font texture from BASFont.bmp, null if it failed
extern SDL_Texture* SDLTexture;         // spare slot freed by QuitSDL; nothing sets it
extern uint32_t Color;                  // current colour, bytes r,g,b,a in memory order; 0xFFFFFFFF
extern SDL_Rect SRC, DST;               // scratch rectangles any routine may overwrite

// Input state (see GetSDLEvents; GEMWaitBoxClick writes the same globals its own way).
extern int32_t MouseX, MouseY;          // pointer position at the last pump
extern uint32_t MouseK;                 // button mask at the last pump (1 left, 2 middle, 4 right)
extern int32_t InKey;                   // key code of the last key-down of the last pump, else 0
extern uint16_t WindowEvent;            // bit n: window event id n arrived for our window
extern uint8_t Quit;                    // 1 once a quit was requested; waits use it as end code
extern const Uint8* SDLKeyboardState;   // SDL's keyboard state array, refreshed by every pump
extern char* SDLTEXT$;                  // where text input is appended; STRING$ at start

// Starts SDL (exit 1 with SDL's error on stdout if that fails), opens the window
// and renderer with vsync, joysticks 0..3, and loads BASFont.bmp from the working
// directory with pixel value 0 transparent. A missing font prints SDL's error and
// the program runs without text.
void SDLInit(uint32_t windowFlags);
// Frees surface, font, spare texture, renderer, window and joysticks, then SDL_Quit.
// The application's own textures must be gone already. Handles are not reset.
void QuitSDL();
// Drains the queue into the input globals, then samples keyboard and mouse. Never blocks.
void GetSDLEvents();
// Sets the renderer's draw colour from the four bytes of c (r, g, b, a in memory order).
void SDLDrawColor(uint32_t c);
// Reads the BMP file at path into SDLSurface (the surface held there freed first); null
// when it cannot be read, and SDL's error printed on standard output. With key >= 0,
// Color := key and the surface's pixel of its red, green and blue becomes transparent.
void LoadSDLSurface(const char* path, int32_t key);
// Reads the w x h pixels at (x, y) of the current render target into a new SDLSurface
// (red, green, blue; alpha dropped) and writes it to path as a 24-bit BMP with
// WRITEFILE, so a file there is replaced only by a complete one. 0, or -1 with SDL's
// error set to the reason.
int32_t SaveSurface(int32_t x, int32_t y, int32_t w, int32_t h, const char* path);
// Marks a window event of our window (id ourWindow, 0 for none) in WindowEvent;
// ids from 16 up leave no mark. Shared by the pump and the blocking waits.
void SDLNoteWindowEvent(const SDL_WindowEvent& w, Uint32 ourWindow);
// The text-input append of GetSDLEvents: adds text to buf, keeping it within 255 bytes.
void SDLAppendText(char* buf, const char* text);
