// Layers: what the game draws is recorded on a tape instead of being drawn, and a tape
// equal to one drawn before shows the pixels kept from then.
//
// The frame's first layer runs from a Cls to the end of the first batch of lines. Most
// frames begin with the same backdrop and web, so the tape usually equals the last one;
// its pixels, copied aside when it first repeated, are copied back in one blit.
//
// Every later batch of glow strips under the additive blend is a sprite: a line of
// text, a grubsteak, an egg. Strips only ever add light, and a saturating sum does not
// care about order, so a batch drawn once onto clear black in an atlas and added back
// gives the pixels its strips give, at a fraction of the rasteriser's work. A batch is
// kept once it repeats in consecutive frames.
//
// Any tape not kept is played to the driver as recorded, which draws exactly what the
// calls would have.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/window.h"
#include "render/draw2d.h"
#include "render/draw_context.h"
#include "render/tpoly.h"

namespace draw_context {
bool recording = false;
}  // namespace draw_context

using draw_context::recording;
using draw_context::st;

namespace {

enum Op : std::uint32_t {
  kColor = 1,
  kImage,
  kLine,
  kRunBegin,
  kRunEnd,
  kStripsBegin,
  kStripsEnd,
  kDoubled,
  kStrip,
};

struct Tape {
  std::vector<std::uint32_t> words;
  std::vector<ImageHandle> images;
  std::size_t calls_from = 0;  // the state the tape began in comes first
  bool draws = false;
  // The strips' extent in display pixels.
  float min_x = 0, min_y = 0, max_x = 0, max_y = 0;

  void Clear() {
    words.clear();
    images.clear();
    calls_from = 0;
    draws = false;
    min_x = min_y = 1e30f;
    max_x = max_y = -1e30f;
  }
  std::uint64_t Hash() const {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (const std::uint32_t w : words) h = (h ^ w) * 1099511628211ull;
    for (const ImageHandle& i : images)
      h = (h ^ reinterpret_cast<std::uintptr_t>(i.get())) * 1099511628211ull;
    // FNV leaves the low bits poorly mixed; they pick the slot in the table of batches
    // seen, so finish as splitmix64 does.
    h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ull;
    h = (h ^ (h >> 27)) * 0x94d049bb133111ebull;
    return h ^ (h >> 31);
  }
  bool operator==(const Tape& o) const {
    if (words != o.words || images.size() != o.images.size()) return false;
    for (std::size_t i = 0; i < images.size(); ++i)
      if (images[i] != o.images[i]) return false;
    return true;
  }
  void Put(std::uint32_t w) { words.push_back(w); }
  void PutInt(int v) { words.push_back(static_cast<std::uint32_t>(v)); }
  void PutReal(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    words.push_back(static_cast<std::uint32_t>(bits));
    words.push_back(static_cast<std::uint32_t>(bits >> 32));
  }
  void PutImage(const ImageHandle& image) {
    std::uint32_t index = 0;
    while (index < images.size() && images[index] != image) ++index;
    if (index == images.size()) images.push_back(image);
    words.push_back(index);
  }
};

// Reads a tape back in the order it was written.
class TapeReader {
 public:
  explicit TapeReader(const Tape& tape) : tape_(tape), at_(tape.calls_from) {}
  bool More() const { return at_ < tape_.words.size(); }
  std::uint32_t Word() { return tape_.words[at_++]; }
  int Int() { return static_cast<int>(Word()); }
  double Real() {
    const std::uint64_t lo = Word();
    const std::uint64_t hi = Word();
    const std::uint64_t bits = lo | (hi << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  const ImageHandle& Image() { return tape_.images[Word()]; }
  std::span<const TPolySlot> Slots(std::size_t count) {
    static_assert(sizeof(TPolySlot) == sizeof(std::uint32_t));
    const auto* first = reinterpret_cast<const TPolySlot*>(&tape_.words[at_]);
    at_ += count;
    return {first, count};
  }

 private:
  const Tape& tape_;
  std::size_t at_;
};

// The framebuffer entry points come from the driver at run time: a GL 1.x context
// without them simply draws every layer.
struct FramebufferProcs {
  PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DPROC FramebufferTexture2D = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
  PFNGLBLITFRAMEBUFFERPROC BlitFramebuffer = nullptr;
};

template <typename Proc>
bool Load(Proc* proc, const char* name) {
  *proc = reinterpret_cast<Proc>(PlatformGLProc(name));
  return *proc != nullptr;
}

bool ContextHasFramebuffers() {
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version != nullptr && version[0] >= '3' && version[0] <= '9') return true;
  const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  return extensions != nullptr &&
         std::string_view(extensions).find("GL_ARB_framebuffer_object") != std::string_view::npos;
}

struct Store {
  int stamp = 0;  // context the objects below belong to
  bool usable = false;
  FramebufferProcs gl;
  GLuint framebuffer = 0, colour = 0;
  int width = 0, height = 0;  // of the colour buffer
  // The sprites' atlas: a texture drawn into through its own framebuffer.
  GLuint atlas_framebuffer = 0, atlas = 0;
  int atlas_size = 0;
  bool atlas_usable = true;
};

// Where a sprite lies in the atlas (GL's bottom-up texels) and on the display
// (top-down display pixels, whole pixels).
struct Sprite {
  Tape tape;
  int atlas_x = 0, atlas_y = 0, width = 0, height = 0;
  int x = 0, y = 0;
};

constexpr int kMaxAtlasSize = 2048;
constexpr std::size_t kMaxSprites = 1024;
constexpr std::size_t kSeenSlots = 4096;  // a power of two

struct Seen {
  std::uint64_t hash = 0;
  long frame = -1;
};

Store store;
Tape current, previous, captured;
bool captured_valid = false;
DrawState state_at_start;
int run_depth = 0;          // line runs opened on the tape
bool tape_doubled = false;  // the strips' doubling as the tape leaves it
bool enabled = true;
long shown_count = 0;
bool sprite_tape = false;  // the tape being recorded is a sprite's
bool playing = false;      // a tape is going to the driver: its batches are not sprites

// The sprites kept, their index by hash, the shelves they are packed on, and the
// batches seen lately, so a batch is kept only when it repeats.
std::vector<Sprite> sprites;
std::unordered_map<std::uint64_t, std::size_t> sprite_index;
int shelf_x = 0, shelf_y = 0, shelf_height = 0;
Seen seen[kSeenSlots];
long frame_number = 0;
long sprites_shown = 0;

// The objects of the live context, made when first needed; false where the driver
// has no framebuffer objects.
bool Ready() {
  const int stamp = PlatformContextStamp();
  if (store.stamp != stamp) {
    store = Store{};  // the objects of an older context went with it
    store.stamp = stamp;
    FramebufferProcs& g = store.gl;
    store.usable = ContextHasFramebuffers() && Load(&g.GenFramebuffers, "glGenFramebuffers") &&
                   Load(&g.DeleteFramebuffers, "glDeleteFramebuffers") &&
                   Load(&g.BindFramebuffer, "glBindFramebuffer") &&
                   Load(&g.GenRenderbuffers, "glGenRenderbuffers") &&
                   Load(&g.DeleteRenderbuffers, "glDeleteRenderbuffers") &&
                   Load(&g.BindRenderbuffer, "glBindRenderbuffer") &&
                   Load(&g.RenderbufferStorage, "glRenderbufferStorage") &&
                   Load(&g.FramebufferRenderbuffer, "glFramebufferRenderbuffer") &&
                   Load(&g.FramebufferTexture2D, "glFramebufferTexture2D") &&
                   Load(&g.CheckFramebufferStatus, "glCheckFramebufferStatus") &&
                   Load(&g.BlitFramebuffer, "glBlitFramebuffer");
  }
  return store.usable;
}

// A colour buffer the size of the drawable, to keep a layer's pixels in.
bool SizeStore(int width, int height) {
  if (store.framebuffer != 0 && store.width == width && store.height == height) return true;
  const FramebufferProcs& g = store.gl;
  if (store.framebuffer == 0) {
    g.GenFramebuffers(1, &store.framebuffer);
    g.GenRenderbuffers(1, &store.colour);
  }
  g.BindRenderbuffer(GL_RENDERBUFFER, store.colour);
  g.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  g.BindRenderbuffer(GL_RENDERBUFFER, 0);
  g.BindFramebuffer(GL_FRAMEBUFFER, store.framebuffer);
  g.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, store.colour);
  const bool complete = g.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  g.BindFramebuffer(GL_FRAMEBUFFER, 0);
  if (!complete) {
    store.usable = false;
    return false;
  }
  store.width = width;
  store.height = height;
  return true;
}

// Copies the whole drawable between the window and the store; the scissor would clip it.
void Copy(bool into_store) {
  const FramebufferProcs& g = store.gl;
  const int w = store.width, h = store.height;
  if (draw_context::scissor_on) glDisable(GL_SCISSOR_TEST);
  g.BindFramebuffer(into_store ? GL_DRAW_FRAMEBUFFER : GL_READ_FRAMEBUFFER, store.framebuffer);
  g.BlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  g.BindFramebuffer(GL_FRAMEBUFFER, 0);
  if (draw_context::scissor_on) glEnable(GL_SCISSOR_TEST);
}

void PutState(Tape& t) {
  const PlatformView view = PlatformViewRect();
  t.PutInt(PlatformContextStamp());
  t.PutInt(PlatformWindowWidth());
  t.PutInt(PlatformWindowHeight());
  t.PutInt(view.x);
  t.PutInt(view.y);
  t.PutInt(view.w);
  t.PutInt(view.h);
  t.PutReal(view.scale);
  t.PutInt(st.color_red);
  t.PutInt(st.color_green);
  t.PutInt(st.color_blue);
  t.PutReal(st.color_alpha);
  t.PutInt(st.clscolor_red);
  t.PutInt(st.clscolor_green);
  t.PutInt(st.clscolor_blue);
  t.PutReal(st.line_width);
  t.PutReal(st.tform_ix);
  t.PutReal(st.tform_iy);
  t.PutReal(st.tform_jx);
  t.PutReal(st.tform_jy);
  t.PutInt(st.viewport_x);
  t.PutInt(st.viewport_y);
  t.PutInt(st.viewport_w);
  t.PutInt(st.viewport_h);
  t.PutReal(st.origin_x);
  t.PutReal(st.origin_y);
  t.PutReal(st.handle_x);
  t.PutReal(st.handle_y);
  t.PutInt(st.blend_mode);
  t.PutInt(st.g_width);
  t.PutInt(st.g_height);
  t.PutInt(draw_context::line_run_depth);
  t.PutInt(draw_context::strips_doubled ? 1 : 0);
  t.calls_from = t.words.size();
}

// Sends the tape to the driver: the calls as the game made them, from the state the
// tape began in.
void Play(const Tape& tape) {
  playing = true;
  st = state_at_start;
  TapeReader in(tape);
  while (in.More()) {
    switch (in.Word()) {
      case kColor: {
        const int r = in.Int(), g = in.Int(), b = in.Int();
        SetColor(r, g, b);
        break;
      }
      case kImage: {
        const ImageHandle& image = in.Image();
        const double x = in.Real(), y = in.Real();
        DrawImage(image, x, y, in.Int());
        break;
      }
      case kLine: {
        const double x1 = in.Real(), y1 = in.Real(), x2 = in.Real(), y2 = in.Real();
        DrawLine(x1, y1, x2, y2, in.Int());
        break;
      }
      case kRunBegin:
        BeginLineRun();
        break;
      case kRunEnd:
        EndLineRun();
        break;
      case kStripsBegin:
        TPoly::_Begin();
        break;
      case kStripsEnd:
        TPoly::_End();
        break;
      case kDoubled:
        TPoly::Doubled(in.Word() != 0);
        break;
      case kStrip: {
        const ImageHandle& image = in.Image();
        const int frame = in.Int(), mode = in.Int(), new_strip = in.Int();
        const std::size_t count = in.Word();
        TPoly::Draw(image, frame, in.Slots(count), mode, new_strip);
        break;
      }
      default:
        playing = false;
        return;  // cannot happen: only this file writes tapes
    }
  }
  playing = false;
}

// Sprites want the display drawn at 1:1 from the drawable's corner, where display
// pixels are the drawable's.
bool DisplayAtOneToOne() {
  const PlatformView view = PlatformViewRect();
  return view.scale == 1.0 && view.x == 0 && view.y == 0 && view.w == st.g_width &&
         view.h == st.g_height && st.vres_mousexscale == 1.0 && st.vres_mouseyscale == 1.0;
}

void DropSprites() {
  for (Sprite& s : sprites) s.tape.Clear();  // their capacity stays for the next ones
  sprites.clear();
  sprite_index.clear();
  shelf_x = shelf_y = shelf_height = 0;
}

bool MakeAtlas() {
  if (store.atlas != 0) return true;
  if (!store.atlas_usable) return false;
  const FramebufferProcs& g = store.gl;
  store.atlas_size = std::min(kMaxAtlasSize, draw_context::max_texture_size);
  glGenTextures(1, &store.atlas);
  draw_context::BindTex(store.atlas);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, store.atlas_size, store.atlas_size, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, nullptr);
  g.GenFramebuffers(1, &store.atlas_framebuffer);
  g.BindFramebuffer(GL_FRAMEBUFFER, store.atlas_framebuffer);
  g.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, store.atlas, 0);
  store.atlas_usable = g.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  g.BindFramebuffer(GL_FRAMEBUFFER, 0);
  if (!store.atlas_usable) {
    glDeleteTextures(1, &store.atlas);
    draw_context::cache_texture = 0;
    store.atlas = 0;
  }
  return store.atlas_usable;
}

// Room for a w x h sprite on the atlas's shelves; a full atlas starts again empty.
bool Place(int w, int h, int* ax, int* ay) {
  const int size = store.atlas_size;
  if (w > size || h > size) return false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (shelf_x + w > size) {
      shelf_y += shelf_height;
      shelf_x = shelf_height = 0;
    }
    if (shelf_y + h <= size && sprites.size() < kMaxSprites) {
      *ax = shelf_x;
      *ay = shelf_y;
      shelf_x += w;
      shelf_height = std::max(shelf_height, h);
      return true;
    }
    DropSprites();
  }
  return false;
}

// The display pixels the tape's strips can reach: their extent on whole pixels, within
// the scissor and the display. False when none.
bool Extent(const Tape& t, int* x, int* y, int* w, int* h) {
  if (!(t.min_x <= t.max_x) || !(t.min_y <= t.max_y)) return false;
  const double left = std::max({std::floor(t.min_x) - 1.0, 0.0, double(st.viewport_x)});
  const double top = std::max({std::floor(t.min_y) - 1.0, 0.0, double(st.viewport_y)});
  const double right = std::min(
      {std::ceil(t.max_x) + 1.0, double(st.g_width), double(st.viewport_x) + st.viewport_w});
  const double bottom = std::min(
      {std::ceil(t.max_y) + 1.0, double(st.g_height), double(st.viewport_y) + st.viewport_h});
  if (!(right > left) || !(bottom > top)) return false;
  *x = static_cast<int>(left);
  *y = static_cast<int>(top);
  *w = static_cast<int>(right - left);
  *h = static_cast<int>(bottom - top);
  return true;
}

void Play(const Tape& tape);

// Draws the tape's strips into the sprite's place on the atlas, over clear black. The
// projection stays the display's and the viewport only moves by whole pixels, so the
// strips land on texels as they would on the drawable's pixels.
void DrawIntoAtlas(const Sprite& s) {
  const FramebufferProcs& g = store.gl;
  g.BindFramebuffer(GL_FRAMEBUFFER, store.atlas_framebuffer);
  glViewport(s.atlas_x - s.x, s.atlas_y + s.height + s.y - st.g_height, st.g_width, st.g_height);
  glEnable(GL_SCISSOR_TEST);
  glScissor(s.atlas_x, s.atlas_y, s.width, s.height);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  Play(s.tape);
  g.BindFramebuffer(GL_FRAMEBUFFER, 0);
  const PlatformView view = PlatformViewRect();
  glViewport(view.x, view.y, view.w, view.h);
  draw_context::cache_blend_known = false;
  const DrawState final_state = st;
  draw_context::ApplyWholeState();  // scissor, clear colour, blend, colour
  st = final_state;
}

// Adds the sprite's texels onto the display, one texel a pixel.
void AddSprite(const Sprite& s) {
  const double k = 1.0 / store.atlas_size;
  const double u0 = s.atlas_x * k, u1 = (s.atlas_x + s.width) * k;
  const double v0 = s.atlas_y * k, v1 = (s.atlas_y + s.height) * k;
  draw_context::EnableTex(store.atlas);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDisable(GL_ALPHA_TEST);
  draw_context::cache_blend_known = false;
  glBegin(GL_QUADS);
  glTexCoord2d(u0, v1);
  glVertex2d(s.x, s.y);
  glTexCoord2d(u1, v1);
  glVertex2d(s.x + s.width, s.y);
  glTexCoord2d(u1, v0);
  glVertex2d(s.x + s.width, s.y + s.height);
  glTexCoord2d(u0, v0);
  glVertex2d(s.x, s.y + s.height);
  glEnd();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  draw_context::UseBlend(st.blend_mode);
  ++sprites_shown;
}

// True when the batch was seen in this frame or the one before; notes it either way.
bool SeenLately(std::uint64_t hash) {
  Seen& slot = seen[hash & (kSeenSlots - 1)];
  const bool lately = slot.hash == hash && slot.frame >= frame_number - 1;
  slot.hash = hash;
  slot.frame = frame_number;
  return lately;
}

// A sprite's tape at its end: shown from the atlas, kept there, or played.
void EndSprite() {
  const std::uint64_t hash = current.Hash();
  if (const auto found = sprite_index.find(hash); found != sprite_index.end()) {
    const Sprite& s = sprites[found->second];
    if (s.tape == current) {
      const DrawState final_state = st;
      draw_context::ApplyWholeState();
      st = final_state;
      AddSprite(s);
      current.Clear();
      return;
    }
  }
  Sprite fresh;
  if (!SeenLately(hash) || !MakeAtlas() ||
      !Extent(current, &fresh.x, &fresh.y, &fresh.width, &fresh.height) ||
      !Place(fresh.width, fresh.height, &fresh.atlas_x, &fresh.atlas_y)) {
    Play(current);
    current.Clear();
    return;
  }
  sprites.push_back(std::move(fresh));
  Sprite& s = sprites.back();
  std::swap(s.tape, current);
  sprite_index[hash] = sprites.size() - 1;
  DrawIntoAtlas(s);
  AddSprite(s);
  current.Clear();
}

}  // namespace

namespace draw_context {

void StartLayer() {
  recording = false;
  ++frame_number;
  if (!enabled || !display_open || !FastDrawing() || !Ready()) return;
  sprite_tape = false;
  current.Clear();
  PutState(current);
  state_at_start = st;
  run_depth = 0;
  tape_doubled = strips_doubled;
  recording = true;
}

void StartSprite() {
  if (playing || !enabled || !display_open || st.blend_mode != BLEND_ADD || !FastDrawing() ||
      !Ready() || !DisplayAtOneToOne())
    return;
  sprite_tape = true;
  current.Clear();
  PutState(current);
  state_at_start = st;
  run_depth = 0;
  tape_doubled = strips_doubled;
  recording = true;
}

void EndLayer() {
  if (!recording) return;
  recording = false;
  if (sprite_tape) {
    // Ended early by something not a strip: drawn as it came.
    Play(current);
    current.Clear();
    return;
  }
  if (current.draws && captured_valid && current == captured) {
    // The state the calls would have left, sent to the driver as they would have.
    const DrawState final_state = st;
    ApplyWholeState();
    st = final_state;
    Copy(false);
    frame_untouched = false;
    ++shown_count;
    current.Clear();
    return;
  }
  Play(current);
  if (!current.draws) return;
  if (current == previous && SizeStore(PlatformWindowWidth(), PlatformWindowHeight())) {
    Copy(true);
    std::swap(captured, current);
    captured_valid = true;
  } else {
    std::swap(previous, current);
  }
  current.Clear();
}

void ForgetLayers() {
  recording = false;
  current.Clear();
  previous.Clear();
  captured.Clear();
  captured_valid = false;
  DropSprites();
  store = Store{};
}

void RecordColor(int red, int green, int blue) {
  current.Put(kColor);
  current.PutInt(red);
  current.PutInt(green);
  current.PutInt(blue);
}

bool RecordImage(const ImageHandle& image, double x, double y, int frame) {
  if (sprite_tape) {
    EndLayer();
    return false;
  }
  current.Put(kImage);
  current.PutImage(image);
  current.PutReal(x);
  current.PutReal(y);
  current.PutInt(frame);
  current.draws = true;
  return true;
}

bool RecordLine(double x1, double y1, double x2, double y2, int last_pixel) {
  if (sprite_tape) {
    EndLayer();
    return false;
  }
  current.Put(kLine);
  current.PutReal(x1);
  current.PutReal(y1);
  current.PutReal(x2);
  current.PutReal(y2);
  current.PutInt(last_pixel);
  current.draws = true;
  return true;
}

bool RecordRun(bool begin) {
  if (sprite_tape || (!begin && run_depth == 0)) {  // not a run this tape can hold
    EndLayer();
    return false;
  }
  current.Put(begin ? kRunBegin : kRunEnd);
  run_depth += begin ? 1 : -1;
  if (!begin && run_depth == 0) EndLayer();
  return true;
}

void RecordStrips(bool begin) {
  current.Put(begin ? kStripsBegin : kStripsEnd);
  if (begin || !current.draws) return;
  if (sprite_tape) {
    recording = false;
    EndSprite();
  } else {
    EndLayer();
  }
}

void RecordDoubled(bool on) {
  if (on == tape_doubled) return;
  tape_doubled = on;
  current.Put(kDoubled);
  current.Put(on ? 1 : 0);
}

void RecordStrip(const ImageHandle& image, int frame, std::span<const TPolySlot> slots, int mode,
                 int new_strip) {
  current.Put(kStrip);
  current.PutImage(image);
  current.PutInt(frame);
  current.PutInt(mode);
  current.PutInt(new_strip);
  current.Put(static_cast<std::uint32_t>(slots.size()));
  for (const TPolySlot& s : slots) current.Put(s.bits);
  for (std::size_t v = 0; v + 1 < slots.size(); v += kTPolySlotsPerVertex) {
    current.min_x = std::min(current.min_x, slots[v].real());
    current.max_x = std::max(current.max_x, slots[v].real());
    current.min_y = std::min(current.min_y, slots[v + 1].real());
    current.max_y = std::max(current.max_y, slots[v + 1].real());
  }
  current.draws = true;
}

}  // namespace draw_context

void SetLayerCache(bool on) {
  draw_context::BeforeDrawing();
  enabled = on;
  if (!on) draw_context::ForgetLayers();
}

long LayersShown() {
  return shown_count;
}

long SpritesShown() {
  return sprites_shown;
}

void FinishDrawing() {
  draw_context::BeforeDrawing();
}
