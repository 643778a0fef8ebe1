// The SDL frame: the only module that starts SDL and owns the window, renderer and
// font handles, and the textures every layer draws on; GetSDLEvents is the one
// non-blocking pump into the input globals, SDLPresent the one way onto the window.
#pragma once
#include <SDL.h>
#include <cstdint>
#include <string>

#include "platform/globals_core.h"
// The scaled window's geometry: ScreenW, ScreenH, FitScreen, PictureFromWindow.
#include "platform/present_core.h"
// The window's title and icon design: WindowTitle, IconDesign.
#include "platform/window_core.h"
// RGBA, the colour packing, and the palette GEMColor live there beside the pixel rule
// of the inverters.
#include "platform/texture_core.h"

// Handles, set by SDLInit and kept for the whole run.
extern SDL_Window* SDLWindow;      // the one window, 640x400 times the scale or more
extern SDL_Renderer* SDLRenderer;  // its renderer; every drawing call goes through it
// The window as the program draws on it: a 640x400 ABGR8888 target texture, opaque
// black at start. Whatever is drawn "on the window" lands here, and read-backs of the
// window read it; SDLPresent shows it. Null in a page, whose canvas is the picture's
// size and keeps its pixels between frames, and where it could not be made: then the
// window itself stands in, at scale 1.
extern SDL_Texture* SDLScreen;
// The scale the window opens at, set before SDLInit: 1..8, or 0 for the largest that
// fits the display the window opens on (less its frame); 1 unless set. SDLInit leaves
// the scale it opened at.
extern int32_t SDLScale;
extern SDL_DisplayMode Display;       // mode of display 0 at start-up; kept for callers
extern SDL_Joystick* SDLJoystick[4];  // joysticks 0..3 where present, else null
extern SDL_TouchID SDLTouchID;        // touch device 0, 0 if none
extern SDL_Surface* SDLSurface;       // current surface; the font image after start-up
extern SDL_Texture* BASFont;          // font texture from BASFont.bmp, null if it failed
extern SDL_Texture* SDLTexture;       // spare slot freed by QuitSDL; nothing sets it
extern SDL_Rect SRC, DST;             // scratch rectangles any routine may overwrite

// The picture's textures, ABGR8888 render targets: made by the paint program's start-up
// (przygotuj) and kept for the whole run; the layers below draw on them.
extern SDL_Texture* GEMScreen;  // 640x400: what ShowE shows; the panel or the picture
extern SDL_Texture* rob_e$;     // 640x400: the stored picture, or the undo copy while drawing
extern SDL_Texture* kra$;       // 640x400, blended: the grid overlay
extern SDL_Texture* Wypboxy;    // 210x216, blended: the 36 fill-pattern samples
extern SDL_Texture* blok$;      // the block (clipboard), any size; null until made
// Makes t (null: none) the block, destroying the one held before, and counts it in
// BlockVersion. The one way blok$ is replaced.
void SDLSetBlock(SDL_Texture* t);

// Drawing and input state, as X(type, name, start value) (see globals_core.h). The input
// is what the last GetSDLEvents left; GEMWaitBoxClick writes the same globals its own
// way. STRING$ is the string runtime's buffer (strrt/strrt.h).
#define PLATFORM_GLOBALS(X)                                                                      \
  X(uint32_t, Color, 0xFFFFFFFF) /* current colour, bytes r,g,b,a in memory order */             \
  X(int32_t, MouseX, 0)          /* pointer x on the picture at the last pump */                 \
  X(int32_t, MouseY, 0)          /* pointer y on the picture at the last pump */                 \
  X(uint32_t, MouseK, 0)         /* button mask at the last pump: 1 left, 2 middle, 4 right */   \
  X(int32_t, InKey, 0)           /* key code of the last pump's last key-down, else 0 */         \
  X(uint16_t, InMod, 0)          /* modifiers (KMOD_*) held at InKey's key-down */               \
  X(uint16_t, WindowEvent, 0)    /* bit n: window event id n arrived for our window */           \
  X(uint8_t, Quit, 0)            /* 1 once a quit was requested; waits use it as end code */     \
  X(const Uint8*, SDLKeyboardState, nullptr) /* SDL's keyboard state, refreshed by every pump */ \
  X(char*, SDLTEXT$, STRING$)                /* where text input is appended */                  \
  X(uint8_t, DropWanted, 0)    /* 1 while a wait takes a file dropped on the window */           \
  X(uint8_t, WakeWanted, 0)    /* 1 while a box wait ends on a wake-up of SDLWakeAt */           \
  X(uint64_t, BlockVersion, 0) /* blocks blok$ has held (SDLSetBlock): tells a new one */
PLATFORM_GLOBALS(GLOBAL_EXTERN)

// Starts SDL (exit 1 with SDL's error on stdout if that fails, or with a line naming
// the display if there is none to open a window on), opens the window and renderer
// with vsync (SDLOpenWindow), joysticks 0..3, and loads BASFont.bmp with pixel value 0
// transparent: from the working directory, else from beside the binary, else from the
// installed data directory. A font missing everywhere prints SDL's error for the
// working directory and the program runs without text. From then on SIGTERM, SIGINT
// and SIGHUP end the process with exit code 0 at the next event pump or wait,
// whatever loop it is in, through exit: what the program gave atexit runs first (the
// recovery copy), and a second of those signals while it runs ends the process at once,
// by that signal. The render target is left on SDLScreen, cleared to black.
void SDLInit(uint32_t windowFlags);
// Does the program run installed: does the data directory found from the binary (as
// the font is found) hold the font? False where it was built or unpacked with the font
// beside it.
bool SDLInstalled();
// SDLInit's opening of the window with the flags given: at SDLScale (the largest that
// fits for 0), never smaller than 640x400, with its renderer, SDLScreen and the filter
// of the window's input (below). Once, by SDLInit.
void SDLOpenWindow(uint32_t windowFlags);
// Makes SDLScreen, the window as the program draws on it, the render target.
void SDLTargetWindow();
// Shows SDLScreen on the window at the largest whole multiple n that fits the
// window's drawable, in real pixels: every pixel an n x n square (never smoothed),
// centred on black. Puts back the render target and draw colour it found. Also the
// way to show the screen again as it was whenever the window's contents were lost
// or its size changed: between frames SDLScreen holds the last one shown. A change
// of the window's size (a resize, full screen) shows it again by itself.
void SDLPresent();
// Names the window WindowTitle(path, changed), "TARKSEN 2" at start: path is the
// picture's file after a load or a save (null keeps the one named last), changed
// whether the picture has changed since. Sets the title only when its text changes.
void SDLTitle(const char* path, bool changed);
// Gives the window the program's icon, IconDesign drawn with font (the font image;
// null draws it without the letters): on X at 32x32, 64x64 and 128x128, elsewhere at
// 64x64; in a browser none (a page has none). Once, by SDLInit.
void SDLIcon(SDL_Surface* font);
// On X, sets property name of the window to n items of data, of type type in format
// 8, 16 or 32 (32-bit items as longs, as Xlib takes them). False elsewhere, or when
// Xlib cannot be reached. For what SDL sets in one form only: the icon at several
// sizes, the title in UTF-8 whatever the locale.
bool SDLX11Property(SDL_Window* window, const char* name, const char* type, int format,
                    const void* data, int n);
// Switches the window between desktop full screen on its display and the window as
// it was (size and place); F11 and Alt+Enter do it.
void SDLToggleFullscreen();
// The filter of the window's input, set by SDLOpenWindow and run on every event as
// it is queued (a test's own filter calls it in turn). F11 and Alt+Enter switch full
// screen and go no further. Mouse positions become picture positions (0..639,
// 0..399 on the picture): a position in the black border around the picture is
// moved to the nearest edge pixel, a press there is dropped unless another button
// is held (a drag going on), and that button goes unseen, in motions and in SDLPointer,
// until released. Whenever the window's contents may be lost or its size changed
// (shown, exposed, moved, resized, maximised, restored) the screen is shown again as
// it was (SDLPresent), whatever loop or dialog is waiting; the event goes on.
// A file dropped on the window while DropWanted is set becomes the one SDLTakeDrop
// gives (a later one replaces it) and goes on as an SDL_DROPFILE whose file is null, to
// end the wait; any other drop is dropped. Either way SDL's copy of the name is freed
// here, so no loop has to.
int SDLCALL SDLFilterEvent(void* userdata, SDL_Event* e);
// The path of the last file dropped while DropWanted was set, and forgets it; "" when
// there is none.
std::string SDLTakeDrop();
// SDL's pointer now, as GetSDLEvents samples it: its button mask less a button whose
// press the border dropped, and (*x, *y) its picture position, clamped to the picture's
// edge in the border (as SDLFilterEvent moves event positions).
uint32_t SDLPointer(int32_t* x, int32_t* y);
// Frees surface, font, spare texture, SDLScreen, renderer, window and joysticks, then
// SDL_Quit. The application's own textures must be gone already. Handles are not reset.
void QuitSDL();
// Gives the host a turn first (SDLYield), then drains the queue into the input
// globals and samples keyboard and mouse. Never blocks.
void GetSDLEvents();
// Lets the host deliver input and show frames: nothing on the desktop; in a browser
// (web/shell.cpp) the program sleeps for a moment, so that a loop that only pumps,
// such as a wait for the buttons' release, sees the release come.
void SDLYield();
// The type of the events SDLWakeAt queues, registered by SDLInit (0 if SDL had none left).
extern Uint32 SDLWakeEvent;
// Has one SDLWakeEvent queued in ms (at least 1) from SDL's timer thread, so that a wait
// blocked in SDL_WaitEvent wakes up; a call replaces the wake-up of an earlier one not yet
// due. Every wait that does not look for it drops it as any other event.
void SDLWakeAt(uint32_t ms);
// Whether a frame may be presented from where the caller runs: always on the desktop;
// in a browser not from the page's event callbacks, which run while the program sleeps
// (a present there sleeps too, and a second sleep would wreck the first).
bool SDLMayPresent();
// Sets the renderer's draw colour from the four bytes of c (r, g, b, a in memory order).
void SDLDrawColor(uint32_t c);
// Opens the regular file at path for reading with OPENFILE (a directory, FIFO or device
// is refused at once, never waited on): its stream, or null with errno set and SDL's
// error "path: reason" ("not a regular file" for a FIFO or a device).
SDL_RWops* SDLOpenFile(const char* path);
// Reads the BMP file at path (SDLOpenFile) into SDLSurface (the surface held there freed
// first); null when it cannot be read, and SDL's error printed on standard output. A
// header stating more pixels than PictureFits allows is refused before SDL reads on
// ("too large: WxH is more than 2^26 pixels"). With key >= 0, Color := key and the
// surface's pixel of its red, green and blue becomes transparent.
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

// Texture utilities, all ABGR8888 through SDLRenderer; none is used by the paint program.
// The handle is in-out: the routine stores the texture it makes there and the caller
// owns it. On a failure (nothing to read, a texture that cannot be made) the handle is
// left as it was.
// Reads the w x h pixels at (x, y) of the current render target into *t, a static
// texture: refreshed in place if it has that size and format, else replaced. Pixels
// outside the target come out transparent black.
void GetTexture(SDL_Texture** t, int32_t x, int32_t y, int32_t w, int32_t h);
// Replaces *t by a new streaming texture of the bitwise complement (alpha included) of
// the w x h pixels px, rows w pixels long.
void InvertPixelsTexture(SDL_Texture** t, const uint32_t* px, int32_t w, int32_t h);
// InvertPixelsTexture of surface s converted to ABGR8888; s is not changed.
void InvertSurfaceTexture(SDL_Texture** t, SDL_Surface* s);
// Replaces *t (which may be src itself) by a new target texture of src's size holding
// opaque white minus src: colours inverted, src's alpha kept. src keeps the blend mode
// that does it; the render target is left on the new texture.
void InvertTexture(SDL_Texture** t, SDL_Texture* src);
