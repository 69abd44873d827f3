// Layers: what the game draws is recorded on a tape instead of being drawn, and what
// was drawn before is shown again from pixels kept then, wherever the tape shows it
// would come out the same.
//
// A frame's tape runs from its Cls until a call the tape cannot hold (a new blend, a
// rectangle, the Flip). Most frames begin as the one before did: the backdrop, the web,
// the text of a still screen. The longest run of whole batches two frames share is
// copied aside, and a later frame that begins with the same run gets it back in one
// blit.
//
// Past that run, each batch of glow strips under the additive blend may be a sprite: a
// line of text, a grubsteak, an egg. Strips only ever add light, and a saturating sum
// does not care about order, so a batch drawn once onto clear black in an atlas and
// added back gives the pixels its strips give (each sprite is rounded on its own, so a
// pixel may end a level apart), at a fraction of the rasteriser's work. A batch is kept
// once it repeats in consecutive frames.
//
// Whatever is not kept is played to the driver as recorded, which draws exactly what
// the calls would have.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <array>
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
  kClear = 1,
  kColor,
  kImage,
  kLine,
  kRunBegin,
  kRunEnd,
  kStripsBegin,
  kStripsEnd,
  kDoubled,
  kStrip,
};

// Calls as words. An image is named by its place in `images` and by its address, so
// equal words mean the same images: the tape holds them, so no other image can take
// an address it names.
struct Tape {
  std::vector<std::uint32_t> words;
  std::vector<ImageHandle> images;
  std::size_t calls_from = 0;  // the state the tape began in comes first
  // Where each batch (or outermost run of wire lines) ends, and the colour then.
  std::vector<std::size_t> ends;
  std::vector<std::array<int, 3>> end_colours;

  void Clear() {
    words.clear();
    images.clear();
    ends.clear();
    end_colours.clear();
    calls_from = 0;
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
    const auto address = reinterpret_cast<std::uintptr_t>(image.get());
    words.push_back(index);
    words.push_back(static_cast<std::uint32_t>(address));
    words.push_back(static_cast<std::uint32_t>(static_cast<std::uint64_t>(address) >> 32));
  }
  void MarkEnd() {
    ends.push_back(words.size());
    end_colours.push_back({st.color_red, st.color_green, st.color_blue});
  }
};

std::uint64_t HashWords(const std::uint32_t* w, std::size_t n, std::uint64_t h) {
  for (std::size_t i = 0; i < n; ++i) h = (h ^ w[i]) * 1099511628211ull;  // FNV-1a
  return h;
}

// FNV leaves the low bits poorly mixed, and they pick a slot in the table of batches
// seen; finish as splitmix64 does.
std::uint64_t FinishHash(std::uint64_t h) {
  h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ull;
  h = (h ^ (h >> 27)) * 0x94d049bb133111ebull;
  return h ^ (h >> 31);
}

// Reads a stretch of a tape back in the order it was written.
class TapeReader {
 public:
  TapeReader(const Tape& tape, std::size_t from, std::size_t to)
      : tape_(tape), at_(from), to_(to) {}
  bool More() const { return at_ < to_; }
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
  const ImageHandle& Image() {
    const ImageHandle& image = tape_.images[Word()];
    at_ += 2;  // its address
    return image;
  }
  std::span<const TPolySlot> Slots(std::size_t count) {
    static_assert(sizeof(TPolySlot) == sizeof(std::uint32_t));
    const auto* first = reinterpret_cast<const TPolySlot*>(&tape_.words[at_]);
    at_ += count;
    return {first, count};
  }

 private:
  const Tape& tape_;
  std::size_t at_;
  std::size_t to_;
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
// (top-down display pixels, whole pixels). Its tape is the state and the one batch.
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
// The tape being recorded, the last frame's, and the run of it whose pixels are kept.
Tape current, previous, captured;
bool captured_valid = false;
DrawState state_at_start;
int run_depth = 0;          // line runs opened on the tape
bool tape_doubled = false;  // the strips' doubling as the tape leaves it
bool enabled = true;
long shown_count = 0;
bool sprite_tape = false;  // recording one batch begun after the frame's tape ended
bool playing = false;      // a tape is going to the driver: its batches are not recorded
bool frame_taped = false;  // this frame's Cls began a tape

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

// Sends words [from, to) of the tape to the driver: the calls as the game made them.
void Play(const Tape& tape, std::size_t from, std::size_t to) {
  playing = true;
  TapeReader in(tape, from, to);
  while (in.More()) {
    switch (in.Word()) {
      case kClear: {
        // As Cls clears: the whole window, whatever the scissor.
        if (draw_context::scissor_on) glDisable(GL_SCISSOR_TEST);
        glClear(GL_COLOR_BUFFER_BIT);
        if (draw_context::scissor_on) glEnable(GL_SCISSOR_TEST);
        draw_context::frame_untouched =
            st.clscolor_red == 0 && st.clscolor_green == 0 && st.clscolor_blue == 0;
        break;
      }
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

// What one batch's words hold: whether nothing but strips (and their colour and
// doubling), and where the strips reach, in display pixels.
struct BatchScan {
  bool strips_only = true;
  bool has_strips = false;
  float min_x = 1e30f, min_y = 1e30f, max_x = -1e30f, max_y = -1e30f;
};

// Walks words [from, to) of the tape; with colour_calls, makes its colour calls for real,
// as playing it would.
BatchScan Scan(const Tape& t, std::size_t from, std::size_t to, bool colour_calls = false) {
  BatchScan scan;
  TapeReader in(t, from, to);
  while (in.More()) {
    switch (in.Word()) {
      case kColor: {
        const int r = in.Int(), g = in.Int(), b = in.Int();
        if (colour_calls) SetColor(r, g, b);
        break;
      }
      case kDoubled:
        in.Word();
        break;
      case kStripsBegin:
      case kStripsEnd:
        break;
      case kStrip: {
        in.Image();
        in.Slots(3);  // frame, mode, new strip
        const std::span<const TPolySlot> slots = in.Slots(in.Word());
        for (std::size_t v = 0; v + 1 < slots.size(); v += kTPolySlotsPerVertex) {
          scan.min_x = std::min(scan.min_x, slots[v].real());
          scan.max_x = std::max(scan.max_x, slots[v].real());
          scan.min_y = std::min(scan.min_y, slots[v + 1].real());
          scan.max_y = std::max(scan.max_y, slots[v + 1].real());
        }
        scan.has_strips = true;
        break;
      }
      default:  // anything else ends the walk: the batch is no sprite
        scan.strips_only = false;
        return scan;
    }
  }
  return scan;
}

// The display pixels the scanned strips can reach: their extent on whole pixels, within
// the scissor and the display. False when none.
bool Extent(const BatchScan& scan, int* x, int* y, int* w, int* h) {
  if (!(scan.min_x <= scan.max_x) || !(scan.min_y <= scan.max_y)) return false;
  const double left = std::max({std::floor(scan.min_x) - 1.0, 0.0, double(st.viewport_x)});
  const double top = std::max({std::floor(scan.min_y) - 1.0, 0.0, double(st.viewport_y)});
  const double right = std::min(
      {std::ceil(scan.max_x) + 1.0, double(st.g_width), double(st.viewport_x) + st.viewport_w});
  const double bottom = std::min(
      {std::ceil(scan.max_y) + 1.0, double(st.g_height), double(st.viewport_y) + st.viewport_h});
  if (!(right > left) || !(bottom > top)) return false;
  *x = static_cast<int>(left);
  *y = static_cast<int>(top);
  *w = static_cast<int>(right - left);
  *h = static_cast<int>(bottom - top);
  return true;
}

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
  Play(s.tape, s.tape.calls_from, s.tape.words.size());
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
// Slots are probed a few on from the hash's own, so two batches whose hashes share a
// slot (image addresses go into the hash, so which do changes from run to run) do not
// push each other out.
bool SeenLately(std::uint64_t hash) {
  constexpr std::size_t kProbes = 8;
  Seen* oldest = nullptr;
  for (std::size_t i = 0; i < kProbes; ++i) {
    Seen& slot = seen[(hash + i) & (kSeenSlots - 1)];
    if (slot.hash == hash) {
      const bool lately = slot.frame >= frame_number - 1;
      slot.frame = frame_number;
      return lately;
    }
    if (oldest == nullptr || slot.frame < oldest->frame) oldest = &slot;
  }
  // A slot free of anything seen lately if there is one: the oldest of those probed.
  oldest->hash = hash;
  oldest->frame = frame_number;
  return false;
}

// A batch of strips in words [from, to): added from the atlas, kept there, or played.
void SpriteOrPlay(const Tape& t, std::size_t from, std::size_t to, const BatchScan& scan) {
  const std::uint32_t* words = t.words.data();
  const std::size_t header = t.calls_from;
  const std::uint64_t hash = FinishHash(
      HashWords(words + from, to - from, HashWords(words, header, 1469598103934665603ull)));
  if (const auto found = sprite_index.find(hash); found != sprite_index.end()) {
    const Sprite& s = sprites[found->second];
    const std::vector<std::uint32_t>& kept = s.tape.words;
    if (kept.size() == header + (to - from) && std::equal(words, words + header, kept.begin()) &&
        std::equal(words + from, words + to, kept.begin() + static_cast<std::ptrdiff_t>(header))) {
      Scan(t, from, to, true);
      AddSprite(s);
      return;
    }
  }
  Sprite fresh;
  if (!SeenLately(hash) || !MakeAtlas() ||
      !Extent(scan, &fresh.x, &fresh.y, &fresh.width, &fresh.height) ||
      !Place(fresh.width, fresh.height, &fresh.atlas_x, &fresh.atlas_y)) {
    Play(t, from, to);
    return;
  }
  fresh.tape.words.assign(words, words + header);
  fresh.tape.words.insert(fresh.tape.words.end(), words + from, words + to);
  fresh.tape.images = t.images;
  fresh.tape.calls_from = header;
  sprites.push_back(std::move(fresh));
  sprite_index[hash] = sprites.size() - 1;
  DrawIntoAtlas(sprites.back());
  AddSprite(sprites.back());
}

// Words [from, to) of the tape, batch by batch: sprites where they can be, played
// where not.
void PlayBatches(const Tape& t, std::size_t from, std::size_t to) {
  std::size_t at = from;
  for (const std::size_t end : t.ends) {
    if (end <= at) continue;
    if (end > to) break;
    // Sprites need the additive blend and the display at 1:1 in the drawable.
    const bool may_be_sprite = state_at_start.blend_mode == BLEND_ADD && DisplayAtOneToOne();
    const BatchScan scan = may_be_sprite ? Scan(t, at, end) : BatchScan{false};
    if (scan.strips_only && scan.has_strips) {
      SpriteOrPlay(t, at, end, scan);
    } else {
      Play(t, at, end);
    }
    at = end;
  }
  if (at < to) Play(t, at, to);
}

// The kept run's pixels back on the drawable, and the state as its calls leave it.
void ShowCaptured(std::size_t end_index) {
  const std::array<int, 3>& c = current.end_colours[end_index];
  st.color_red = c[0];
  st.color_green = c[1];
  st.color_blue = c[2];
  draw_context::ApplyWholeState();
  Copy(false);
  draw_context::frame_untouched = false;
  ++shown_count;
}

// The frame's tape at its end.
void EndFrameTape() {
  Tape& t = current;
  st = state_at_start;
  std::size_t at = t.calls_from;
  // The kept run, where the tape begins with it.
  const std::size_t kept = captured.words.size();
  if (captured_valid && kept <= t.words.size()) {
    const auto end = std::lower_bound(t.ends.begin(), t.ends.end(), kept);
    if (end != t.ends.end() && *end == kept &&
        std::equal(captured.words.begin(), captured.words.end(), t.words.begin())) {
      ShowCaptured(static_cast<std::size_t>(end - t.ends.begin()));
      at = kept;
    }
  }
  // The longest run of whole batches this frame shares with the one before.
  const std::size_t same = static_cast<std::size_t>(
      std::mismatch(t.words.begin(), t.words.end(), previous.words.begin(), previous.words.end())
          .first -
      t.words.begin());
  const auto shared = std::upper_bound(t.ends.begin(), t.ends.end(), same);
  const std::size_t run = shared == t.ends.begin() ? 0 : *(shared - 1);
  if (run > at && SizeStore(PlatformWindowWidth(), PlatformWindowHeight())) {
    // Its pixels will come back from the copy: making sprites of it would be wasted.
    Play(t, at, run);
    Copy(true);
    captured.words.assign(t.words.begin(), t.words.begin() + static_cast<std::ptrdiff_t>(run));
    captured.images = t.images;
    captured_valid = true;
    at = run;
  }
  PlayBatches(t, at, t.words.size());
  std::swap(previous, current);
  current.Clear();
}

}  // namespace

namespace draw_context {

bool StartLayer() {
  recording = false;
  // A second clear in one frame would have its tape compared with the first's: kept
  // pixels would be replaced twice a frame and never shown.
  if (frame_taped) return false;
  ++frame_number;
  if (!enabled || !display_open || !FastDrawing() || !Ready()) return false;
  frame_taped = true;
  sprite_tape = false;
  current.Clear();
  PutState(current);
  current.Put(kClear);
  state_at_start = st;
  run_depth = 0;
  tape_doubled = strips_doubled;
  recording = true;
  return true;
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
  if (!sprite_tape) {
    EndFrameTape();
    return;
  }
  // A lone batch: a sprite if it came to its end, else played as it came.
  st = state_at_start;
  if (!current.ends.empty()) {
    PlayBatches(current, current.calls_from, current.words.size());
  } else {
    Play(current, current.calls_from, current.words.size());
  }
  current.Clear();
}

void FrameShown() {
  frame_taped = false;
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
  return true;
}

bool RecordRun(bool begin) {
  if (sprite_tape || (!begin && run_depth == 0)) {  // not a run this tape can hold
    EndLayer();
    return false;
  }
  current.Put(begin ? kRunBegin : kRunEnd);
  run_depth += begin ? 1 : -1;
  if (!begin && run_depth == 0) current.MarkEnd();
  return true;
}

void RecordStrips(bool begin) {
  current.Put(begin ? kStripsBegin : kStripsEnd);
  if (begin || run_depth > 0) return;
  current.MarkEnd();
  if (sprite_tape) EndLayer();
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
