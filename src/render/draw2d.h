// Immediate-mode 2D drawing service on OpenGL: window pixels, origin top-left.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/image.h"

enum BlendMode {
  BLEND_MASK = 1,
  BLEND_SOLID = 2,
  BLEND_ALPHA = 3,
  BLEND_ADD = 4,
  BLEND_MULTIPLY = 5
};

// Texture of one image frame, made lazily on first draw.
struct TGLImageFrame {
  double u0 = 0, v0 = 0, u1 = 1, v1 = 1;
  double uscale = 1, vscale = 1;
  unsigned name = 0;  // OpenGL texture name
  int seq = 0;        // context stamp the texture was made under
  // Every pixel opaque, or fully clear and black: over black, blending it changes nothing.
  bool copies_over_black = false;
};

// Owns its textures: dropping the last handle deletes those of the live context.
struct TImage {
  TImage() = default;
  TImage(const TImage&) = delete;
  TImage& operator=(const TImage&) = delete;
  ~TImage();

  int width = 0, height = 0;
  int flags = 0;
  int mask_r = 0, mask_g = 0, mask_b = 0;
  double handle_x = 0, handle_y = 0;
  std::vector<Pixmap> pixmaps;
  std::vector<TGLImageFrame> frames;
  std::vector<int> seqs;
};
using ImageHandle = std::shared_ptr<TImage>;

struct DrawState {
  int color_red = 255, color_green = 255, color_blue = 255;
  double color_alpha = 1.0;
  int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
  double line_width = 1.0;
  double tform_rot = 0;
  double tform_scale_x = 1.0, tform_scale_y = 1.0;
  double tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
  int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
  double origin_x = 0, origin_y = 0;
  double handle_x = 0, handle_y = 0;
  int blend_mode = BLEND_MASK;
  double vres_width = 0, vres_height = 0;
  double vres_mousexscale = 1.0, vres_mouseyscale = 1.0;
  int g_width = 0, g_height = 0;
};

// The display: window flags 0. depth 0 opens a window, depth > 0 full screen.
// Reopening keeps the drawing state; false (state unchanged) when it cannot be made.
bool OpenDisplay(int width, int height, int depth, int hz, int flags);
void CloseDisplay();
bool DisplayOpen();
// Why the last OpenDisplay failed, one line.
const std::string& DisplayError();
// Desktop full screen, the display scaled to fit with its shape kept. Alt+Enter
// switches it in every screen; a refusal is reported and leaves the mode as it was.
bool DisplayFullScreen();
bool SetDisplayFullScreen(bool on);
// Told of every switch, so the setting follows what the player chose.
void OnFullScreenChange(void (*listener)(bool on));
void SetWindowTitle(const std::string& title);

void Cls();
void Flip(int sync);
// Off: Flip still paces, pumps and runs the frame hook, but shows nothing (a replay
// checked at full speed).
void SetPresenting(bool on);
// On (the default): a paced Flip finishes the frame's rendering before its wait, so the
// frame is shown on time. Off only to measure what it was like without.
void SetFinishBeforeWait(bool on);
// The faster drawing paths (queued wire lines, the backdrop's plain copy, the web's
// single pass). On by default; off draws every primitive the plain way, as the draw
// log also does, so its entries keep showing every call.
void SetFastDrawing(bool on);
bool FastDrawing();
// A frame's first layer (from a Cls to the end of its first batch of lines) drawn
// exactly as in the frame before is copied back from then, not drawn again; a later
// batch of glow strips drawn as in the frame before is added back from an atlas. On by
// default, and only while the faster paths are; off for side-by-side measurements.
void SetLayerCache(bool on);
// Layers copied back and sprites added back so far (tests check the paths are taken).
long LayersShown();
long SpritesShown();
// Draws whatever the service still holds back (the frame's first layer, queued lines):
// call it before reading pixels back. Flip does it itself.
void FinishDrawing();
// Between these, wire lines may be queued (see draw_context.h); runs nest.
void BeginLineRun();
void EndLineRun();
void SetColor(int red, int green, int blue);
void SetAlpha(double alpha);
void SetBlend(int mode);
void SetClsColor(int red, int green, int blue);
void SetViewport(int x, int y, int w, int h);
void SetRotation(double degrees);
void SetLineWidth(double width);
void Plot(double x, double y);
void DrawLine(double x1, double y1, double x2, double y2, int last_pixel = 1);
void DrawRect(double x, double y, double w, double h);
void DrawOval(double x, double y, double w, double h);
void DrawText(const std::string& text, double x, double y);
ImageHandle LoadImage(const std::string& path, int flags = -1);
void CenterImageHandle(const ImageHandle& image);
void DrawImage(const ImageHandle& image, double x, double y, int frame = 0);
void HideMouse();
void ShowMouse();

// The image frame's texture, made (or remade for a new context) if needed; nullptr
// for a missing image or frame. Used by the strip renderer to bind it itself.
TGLImageFrame* GetImageFrame(const ImageHandle& image, int frame);
// The strip renderer binds and enables textures behind the service; it reports each
// bind here so the service's cache stays true and its next untextured primitive
// switches texturing off again.
void NoteTextureBound(unsigned name);

// Read-only view of the state, and the count of OpenGL state calls the service has
// issued (blend, texture enable and bind, colour), for tests of its cache.
const DrawState& CurrentDrawState();
long GLStateCalls();

// The state as at program start (tests that need a clean slate; keeps the display).
void ResetDrawState();
