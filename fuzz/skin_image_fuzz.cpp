// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a skin file (GIF or BMP, whatever the reader makes of them): the load either
// fails with a known error number or gives an image, and both overlay renderers and the
// floating clock draw any loaded image without reading outside it. Pictures declaring more
// than 1024 pixels a side are passed over: they are refused or merely big, never unusual.
// Input: one byte (bits 0-2: clock flags; bits 3-7: the hour), then the file's bytes.
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "display/skin_render.h"
#include "fuzz_require.h"
#include "platform/fake/fake_locale.h"
#include "platform/qt/qt_images.h"

using namespace korvane;

namespace {

using fuzzing::require;

bool declaresHugePicture(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  const QSize size = QImageReader(&buffer).size();
  return size.isValid() && (size.width() > 1024 || size.height() > 1024);
}

// The file the loader reads each input from; removed when the fuzzer ends (the handler is
// registered after the name exists, so it runs before the name is destroyed).
const std::string& scratchFile() {
  static const std::string path = "/tmp/korvane-skin-fuzz-" + std::to_string(getpid());
  static const bool removedAtExit = std::atexit([] { std::remove(scratchFile().c_str()); }) == 0;
  (void)removedAtExit;
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
  if (declaresHugePicture(bytes)) return 0;
  if (FILE* f = std::fopen(scratchFile().c_str(), "wb")) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), f);
    std::fclose(f);
  } else {
    return 0;
  }

  const platform::ImageLoad load = platform::QtImages().load(scratchFile());
  require(load.ok() || load.error == platform::kInvalidPicture, "an unexpected error number");
  require(load.ok() || load.image.width() == 0, "a failed load with pixels");
  if (!load.ok() || load.image.width() > 1024 || load.image.height() > 1024) return 0;

  const display::ClockTextFlags flags{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0};
  const CivilDateTime now{2026, 12, 7, (data[0] >> 3) % 24, 5, 7, 0};
  const platform::FakeLocale locale;
  display::OverlaySurface strip{{}, platform::Raster(240, 40), 0};
  display::RenderKRV(load.image, now, flags, locale, strip);
  require(strip.window.width() == 240 && strip.window.height() == 40, "the window was resized");
  display::OverlaySurface font{{}, platform::Raster(90, 19), 0};
  display::RenderAMP(load.image, now, flags, locale, font);
  Colour background = 0;
  platform::Raster picture;
  display::RenderFloatingKRV(load.image, now, flags, locale, background, picture);
  return 0;
}
