// Separable resampling: each output pixel is a weighted sum of source pixels, first along
// rows, then along columns. Shrinking averages the covered area (each source pixel weighs
// what it covers); enlarging interpolates linearly between pixel centres. Colours are
// weighted by alpha (premultiplied) so that invisible pixels lend no colour to visible ones.
//
// Source rows are resampled horizontally one at a time, in order, and added into the output
// row at once; only the last two are kept (consecutive output rows share at most their
// boundary rows), so memory stays a few rows whatever the scale.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "ui/image.h"

namespace ui {
namespace {

// For each output index, the source indices [first, first + count) and their weights.
struct Taps {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<std::size_t> start;  // into weights
  std::vector<float> weights;
};

void AddTap(Taps& taps, int index, float weight) {
  if (taps.count.back() == 0) taps.first.back() = index;
  taps.weights.push_back(weight);
  ++taps.count.back();
}

void BeginOutput(Taps& taps) {
  taps.first.push_back(0);
  taps.count.push_back(0);
  taps.start.push_back(taps.weights.size());
}

// Output pixel i covers source span [i * from, (i + 1) * from) in units of 1/to source
// pixel; source pixel j covers [j * to, (j + 1) * to). Integer overlaps keep it exact.
void AreaTaps(int from, int to, Taps& taps) {
  for (int i = 0; i < to; ++i) {
    BeginOutput(taps);
    const std::int64_t begin = std::int64_t{i} * from;
    const std::int64_t end = begin + from;
    for (std::int64_t j = begin / to; j * to < end; ++j) {
      const std::int64_t overlap = std::min(end, (j + 1) * to) - std::max(begin, j * to);
      if (overlap > 0) AddTap(taps, static_cast<int>(j), static_cast<float>(overlap) / from);
    }
  }
}

// Pixel centres aligned: output i samples source position (i + 0.5) * from / to - 0.5.
void LinearTaps(int from, int to, Taps& taps) {
  for (int i = 0; i < to; ++i) {
    BeginOutput(taps);
    const double position = std::clamp((i + 0.5) * from / to - 0.5, 0.0, from - 1.0);
    const int left = static_cast<int>(position);
    const float right_weight = static_cast<float>(position - left);
    AddTap(taps, left, 1.0f - right_weight);
    if (left + 1 < from && right_weight > 0) AddTap(taps, left + 1, right_weight);
  }
}

Taps MakeTaps(int from, int to) {
  Taps taps;
  if (to <= from) {
    AreaTaps(from, to, taps);
  } else {
    LinearTaps(from, to, taps);
  }
  return taps;
}

// Source row y, premultiplied (B*A, G*A, R*A, A) and resampled to the output width.
void ResampleRow(const Image& source, int y, const Taps& columns, std::vector<float>& premultiplied,
                 float* out) {
  const std::uint8_t* in = source.bgra.data() + std::size_t(y) * source.width * 4;
  for (std::size_t i = 0; i < premultiplied.size(); i += 4) {
    const float alpha = in[i + 3];
    premultiplied[i] = in[i] * alpha;
    premultiplied[i + 1] = in[i + 1] * alpha;
    premultiplied[i + 2] = in[i + 2] * alpha;
    premultiplied[i + 3] = alpha;
  }
  for (std::size_t x = 0; x < columns.first.size(); ++x, out += 4) {
    const float* weight = columns.weights.data() + columns.start[x];
    const float* pixel = premultiplied.data() + std::size_t(columns.first[x]) * 4;
    float sum[4] = {0, 0, 0, 0};
    for (int k = 0; k < columns.count[x]; ++k, pixel += 4) {
      for (int c = 0; c < 4; ++c) sum[c] += weight[k] * pixel[c];
    }
    std::copy(sum, sum + 4, out);
  }
}

std::uint8_t ToByte(float value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

void StorePixel(const float* sum, std::uint8_t* out) {
  const float alpha = sum[3];
  const std::uint8_t stored_alpha = ToByte(alpha);
  for (int c = 0; c < 3; ++c) out[c] = stored_alpha == 0 ? 0 : ToByte(sum[c] / alpha);
  out[3] = stored_alpha;
}

// The last resampled source rows. An output row reads its source rows in increasing order and
// uses each at once; the next output row starts at the last of them or after it, so that one
// is still here. A returned row is valid until the next call.
class RowCache {
 public:
  static constexpr int kSlots = 2;

  RowCache(const Image& source, const Taps& columns)
      : source_(source), columns_(columns), row_size_(columns.first.size() * 4),
        premultiplied_(std::size_t(source.width) * 4), rows_(kSlots * row_size_),
        tags_(kSlots, -1) {}

  const float* Row(int y) {
    const std::size_t slot = std::size_t(y) % tags_.size();
    float* row = rows_.data() + slot * row_size_;
    if (tags_[slot] != y) {
      ResampleRow(source_, y, columns_, premultiplied_, row);
      tags_[slot] = y;
    }
    return row;
  }

 private:
  const Image& source_;
  const Taps& columns_;
  std::size_t row_size_;
  std::vector<float> premultiplied_;
  std::vector<float> rows_;
  std::vector<int> tags_;
};

Image Resample(const Image& source, int width, int height) {
  const Taps columns = MakeTaps(source.width, width);
  const Taps rows = MakeTaps(source.height, height);
  RowCache cache(source, columns);
  Image result;
  result.width = width;
  result.height = height;
  result.bgra.resize(std::size_t(width) * height * 4);
  std::vector<float> sum(std::size_t(width) * 4);
  for (int y = 0; y < height; ++y) {
    std::fill(sum.begin(), sum.end(), 0.0f);
    const float* weight = rows.weights.data() + rows.start[y];
    for (int k = 0; k < rows.count[y]; ++k) {
      const float* row = cache.Row(rows.first[y] + k);
      for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += weight[k] * row[i];
    }
    std::uint8_t* out = result.bgra.data() + std::size_t(y) * width * 4;
    for (std::size_t i = 0; i < sum.size(); i += 4) StorePixel(&sum[i], out + i);
  }
  return result;
}

bool SizeAllowed(int width, int height) {
  return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
         std::size_t(width) * std::size_t(height) <= kMaxImagePixels;
}

bool Valid(const Image& image) {
  return SizeAllowed(image.width, image.height) &&
         image.bgra.size() == std::size_t(image.width) * image.height * 4;
}

}  // namespace

Image ResizeSmooth(const Image& source, int width, int height) {
  if (!Valid(source) || !SizeAllowed(width, height)) return Image{};
  try {
    if (width == source.width && height == source.height) return source;
    return Resample(source, width, height);
  } catch (const std::bad_alloc&) {
    return Image{};  // too large for this process: no picture rather than no program
  }
}

}  // namespace ui
