// JPEG pictures on libjpeg: the compressed data is kept, the picture is decoded when first needed.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tk/Graphics.h"

class TJPEGImage : public TGraphic {
 public:
  TK_CLASS(TJPEGImage, TGraphic)
  TJPEGImage() = default;
  ~TJPEGImage() override;

  // Known from the header as soon as the data is loaded.
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // A JPEG's size comes from its data: these raise EInvalidGraphicOperation.
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  bool Empty() const override { return FData.empty(); }
  // Takes the stream's bytes from its position to its end; raises EInvalidGraphic when they are not a
  // JPEG whose header can be read.
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  void Assign(TPersistent* source) override;

  // Decodes the picture now (once); raises EInvalidGraphic on corrupt data.
  void DIBNeeded();
  // The decoded 24-bit picture (decoded on the first call).
  TBitmap* Bitmap();

 protected:
  void Draw(TCanvas* canvas, const RECT& r) override;

 private:
  std::vector<uint8_t> FData;
  int FWidth = 0, FHeight = 0;
  std::unique_ptr<TBitmap> FBitmap;
};
