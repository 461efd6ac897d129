#include "tk/Jpeg.h"

#include <csetjmp>
#include <cstdio>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace {

// libjpeg's default error handler ends the process; this one jumps back so the failure can be raised.
struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

void OutputMessage(j_common_ptr) {}  // warnings are not shown

// Reads the header (out == nullptr) or decodes the whole picture into out. No C++ object with a
// destructor lives in this frame, because an error longjmps back into it.
void Decode(const std::vector<uint8_t>& data, int& width, int& height, TBitmap* out) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = OutputMessage;
  bool failed = false;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    failed = true;
  }
  if (failed) throw EInvalidGraphic(std::string("JPEG error: ") + err.message);

  jpeg_create_decompress(&cinfo);
  // Running out of data inserts an end-of-image marker: a cut picture decodes, grey below the cut.
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
  width = int(cinfo.image_width);
  height = int(cinfo.image_height);
  if (!out) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
    jpeg_destroy_decompress(&cinfo);
    throw EInvalidGraphic("JPEG error: CMYK pictures are not supported");
  }
  cinfo.out_color_space = JCS_EXT_BGR;  // the byte order of a 24-bit DIB
  try {
    out->SetPixelFormat(pf24bit);
    out->SetSize(width, height);
  } catch (...) {
    jpeg_destroy_decompress(&cinfo);
    throw;
  }
  jpeg_start_decompress(&cinfo);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = static_cast<JSAMPROW>(out->ScanLine(int(cinfo.output_scanline)));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
}

}  // namespace

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

void TJPEGImage::LoadFromStream(TStream* stream) {
  int64_t avail = stream->GetSize() - stream->GetPosition();
  std::vector<uint8_t> data(size_t(std::max<int64_t>(avail, 0)));
  stream->ReadBuffer(data.data(), int32_t(data.size()));
  int width = 0, height = 0;
  if (!data.empty()) Decode(data, width, height, nullptr);
  FData = std::move(data);
  FWidth = width;
  FHeight = height;
  FBitmap.reset();
  Changed();
}

void TJPEGImage::SaveToStream(TStream* stream) { stream->WriteBuffer(FData.data(), int32_t(FData.size())); }

void TJPEGImage::Assign(TPersistent* source) {
  if (auto* j = ObjectAs<TJPEGImage>(source)) {
    if (j == this) return;
    FData = j->FData;
    FWidth = j->FWidth;
    FHeight = j->FHeight;
    FBitmap.reset();
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TJPEGImage::DIBNeeded() {
  if (FBitmap || FData.empty()) return;
  auto bitmap = std::make_unique<TBitmap>();
  int width = 0, height = 0;
  Decode(FData, width, height, bitmap.get());
  FBitmap = std::move(bitmap);
}

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

void TJPEGImage::Draw(TCanvas* canvas, const RECT& r) {
  if (Empty()) return;
  canvas->StretchDraw(r, Bitmap());
}
