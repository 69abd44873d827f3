// The frame's first layer: from a Cls to the end of the first batch of lines, what the
// game draws is recorded on a tape instead of being drawn. Most frames begin with the
// same backdrop and web, so the tape usually equals the last one; its pixels, copied
// aside when it first repeated, are then copied back in one blit. Any other tape is
// played to the driver as recorded, which draws exactly what the calls would have.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
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

  void Clear() {
    words.clear();
    images.clear();
    calls_from = 0;
    draws = false;
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
};

Store store;
Tape current, previous, captured;
bool captured_valid = false;
DrawState state_at_start;
int run_depth = 0;          // line runs opened on the tape
bool tape_doubled = false;  // the strips' doubling as the tape leaves it
bool enabled = true;
long shown_count = 0;

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
        return;  // cannot happen: only this file writes tapes
    }
  }
}

}  // namespace

namespace draw_context {

void StartLayer() {
  recording = false;
  if (!enabled || !display_open || !FastDrawing() || !Ready()) return;
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
  store = Store{};
}

void RecordColor(int red, int green, int blue) {
  current.Put(kColor);
  current.PutInt(red);
  current.PutInt(green);
  current.PutInt(blue);
}

void RecordImage(const ImageHandle& image, double x, double y, int frame) {
  current.Put(kImage);
  current.PutImage(image);
  current.PutReal(x);
  current.PutReal(y);
  current.PutInt(frame);
  current.draws = true;
}

void RecordLine(double x1, double y1, double x2, double y2, int last_pixel) {
  current.Put(kLine);
  current.PutReal(x1);
  current.PutReal(y1);
  current.PutReal(x2);
  current.PutReal(y2);
  current.PutInt(last_pixel);
  current.draws = true;
}

bool RecordRun(bool begin) {
  if (!begin && run_depth == 0) return false;  // a run opened before the layer
  current.Put(begin ? kRunBegin : kRunEnd);
  run_depth += begin ? 1 : -1;
  if (!begin && run_depth == 0) EndLayer();
  return true;
}

void RecordStrips(bool begin) {
  current.Put(begin ? kStripsBegin : kStripsEnd);
  if (!begin && current.draws) EndLayer();
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

void FinishDrawing() {
  draw_context::BeforeDrawing();
}
