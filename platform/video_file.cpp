#include "platform/video_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/player_file.h"

namespace velmora {

namespace {

// FFmpeg 6.1 made the written bytes const; earlier versions pass them mutable.
#if defined(FF_API_AVIO_WRITE_NONCONST) && !FF_API_AVIO_WRITE_NONCONST
using WrittenBytes = const uint8_t*;
#else
using WrittenBytes = uint8_t*;
#endif

struct Format {
  const char* muxer;
  const char* encoder;  // FFmpeg's name of it
  AVCodecID codec;      // any encoder of this codec when that one is missing
  AVPixelFormat pixels;
  bool evenSize;  // 4:2:0 chroma takes pixels two by two
};

Format formatOf(VideoKind kind) {
  switch (kind) {
    case VideoKind::kMp4:
      return {"mp4", "libx264", AV_CODEC_ID_H264, AV_PIX_FMT_YUV420P, true};
    case VideoKind::kWebM:
      return {"webm", "libvpx-vp9", AV_CODEC_ID_VP9, AV_PIX_FMT_YUV420P, true};
    case VideoKind::kApng:
      break;
  }
  return {"apng", "apng", AV_CODEC_ID_APNG, AV_PIX_FMT_RGB24, false};
}

std::string errorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  std::string s = text;
  if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z') s[0] = static_cast<char>(s[0] + 32);
  return s;
}

int writeBytes(void* opaque, WrittenBytes data, int size) {
  auto* file = static_cast<SaveFileWriter*>(opaque);
  return file->write(reinterpret_cast<const char*>(data), size) ? size : AVERROR(EIO);
}

int64_t seekBytes(void* opaque, int64_t offset, int whence) {
  auto* file = static_cast<SaveFileWriter*>(opaque);
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) return file->size();
  int64_t to = -1;
  if (whence == SEEK_SET) to = offset;
  if (whence == SEEK_CUR) to = file->position() + offset;
  if (whence == SEEK_END) to = file->size() + offset;
  if (to < 0 || !file->seek(to)) return AVERROR(EIO);
  return to;
}

// Settings of each encoder, chosen for frames of thin coloured trails on black:
// H.264 and VP9 at a quality that keeps them above 40 dB of PSNR against the exact
// frame (the crowd of preset 5 is the hardest: 42 dB here, under 41 at CRF 16 and
// 24), at a speed that keeps the export of a long run in minutes.
AVDictionary* settingsFor(const AVCodec& encoder) {
  AVDictionary* settings = nullptr;
  const std::string name = encoder.name;
  if (name == "libx264") {
    av_dict_set(&settings, "preset", "veryfast", 0);
    av_dict_set(&settings, "crf", "14", 0);
  } else if (name == "libvpx-vp9") {
    av_dict_set(&settings, "crf", "20", 0);
    av_dict_set(&settings, "b", "0", 0);
    // Its fastest mode: "good" at speed 5 took 13 times longer for the same quality.
    av_dict_set(&settings, "deadline", "realtime", 0);
    av_dict_set(&settings, "cpu-used", "8", 0);
    av_dict_set(&settings, "row-mt", "1", 0);
    av_dict_set(&settings, "tile-columns", "2", 0);
  }
  return settings;
}

}  // namespace

std::optional<VideoKind> videoKindOf(const std::string& path) {
  std::string name = path;
  for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (name.ends_with(".mp4")) return VideoKind::kMp4;
  if (name.ends_with(".webm")) return VideoKind::kWebM;
  if (name.ends_with(".apng")) return VideoKind::kApng;
  return std::nullopt;
}

struct VideoFile::Encoder {
  ~Encoder() {
    sws_freeContext(scale);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    if (io) av_freep(&io->buffer);
    avio_context_free(&io);
    avformat_free_context(container);
  }

  // Why writing failed: the file's reason when it was the file, else FFmpeg's.
  std::string failure(const std::string& step, int code) const {
    if (file->failure()) return *file->failure();
    return step + " failed (" + errorText(code) + ")";
  }

  // Sends a frame (none: the end) and writes every packet it gives back.
  std::optional<std::string> send(const AVFrame* f) {
    int status = avcodec_send_frame(codec, f);
    if (status < 0) return failure("encoding", status);
    while ((status = avcodec_receive_packet(codec, packet)) >= 0) {
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      status = av_interleaved_write_frame(container, packet);
      if (status < 0) return failure("writing", status);
    }
    if (status != AVERROR(EAGAIN) && status != AVERROR_EOF) return failure("encoding", status);
    return std::nullopt;
  }

  std::unique_ptr<SaveFileWriter> file;
  AVFormatContext* container = nullptr;
  AVIOContext* io = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  SwsContext* scale = nullptr;
  std::vector<uint32_t> padded;  // a field of odd size with its black edge
  int width = 0;                 // the field's
  int height = 0;
  int64_t next = 0;  // the next frame's number
};

VideoFile::VideoFile() = default;
VideoFile::~VideoFile() = default;

std::optional<std::string> VideoFile::open(const std::string& path, VideoKind kind, int width,
                                           int height, int fps) {
  encoder_.reset();
  // The encoders' own reports (settings, statistics) are not the player's: a
  // failure comes back as a message of ours.
  av_log_set_level(AV_LOG_QUIET);
  auto e = std::make_unique<Encoder>();
  const Format format = formatOf(kind);
  const AVCodec* encoder = avcodec_find_encoder_by_name(format.encoder);
  if (!encoder) encoder = avcodec_find_encoder(format.codec);
  if (!encoder) return std::string("this FFmpeg has no ") + format.encoder + " encoder";
  e->width = width;
  e->height = height;
  const int codedWidth = format.evenSize ? width + width % 2 : width;
  const int codedHeight = format.evenSize ? height + height % 2 : height;

  e->file = std::make_unique<SaveFileWriter>(path);
  if (e->file->failure()) return *e->file->failure();
  int status = avformat_alloc_output_context2(&e->container, nullptr, format.muxer, nullptr);
  if (status < 0) return "no " + std::string(format.muxer) + " muxer (" + errorText(status) + ")";

  e->codec = avcodec_alloc_context3(encoder);
  e->frame = av_frame_alloc();
  e->packet = av_packet_alloc();
  if (!e->codec || !e->frame || !e->packet) return "there is not enough memory";
  e->codec->width = codedWidth;
  e->codec->height = codedHeight;
  e->codec->pix_fmt = format.pixels;
  e->codec->time_base = {1, fps};
  e->codec->framerate = {fps, 1};
  if (format.pixels == AV_PIX_FMT_YUV420P) {
    // Said in the stream as well, so that a player converts back as encoded.
    e->codec->color_range = AVCOL_RANGE_MPEG;
    e->codec->colorspace = AVCOL_SPC_BT709;
    e->codec->color_primaries = AVCOL_PRI_BT709;
    e->codec->color_trc = AVCOL_TRC_BT709;
  }
  if (e->container->oformat->flags & AVFMT_GLOBALHEADER) {
    e->codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  }
  // APNG: zlib's level 3. The default, 6, took half as long again on preset 5 (16.4 s
  // against 10.6 s for 120 frames) for a file a tenth smaller.
  if (kind == VideoKind::kApng) e->codec->compression_level = 3;
  AVDictionary* settings = settingsFor(*encoder);
  status = avcodec_open2(e->codec, encoder, &settings);
  av_dict_free(&settings);
  if (status < 0)
    return std::string("the ") + encoder->name + " encoder refused (" + errorText(status) + ")";

  e->stream = avformat_new_stream(e->container, nullptr);
  if (!e->stream) return "there is not enough memory";
  e->stream->time_base = e->codec->time_base;
  e->stream->avg_frame_rate = e->codec->framerate;
  avcodec_parameters_from_context(e->stream->codecpar, e->codec);

  constexpr int kBufferBytes = 1 << 16;
  auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferBytes));
  if (!buffer) return "there is not enough memory";
  e->io =
      avio_alloc_context(buffer, kBufferBytes, 1, e->file.get(), nullptr, writeBytes, seekBytes);
  if (!e->io) {
    av_free(buffer);
    return "there is not enough memory";
  }
  e->container->pb = e->io;
  e->container->flags |= AVFMT_FLAG_CUSTOM_IO;
  status = avformat_write_header(e->container, nullptr);
  if (status < 0) return e->failure("writing", status);

  e->frame->format = format.pixels;
  e->frame->width = codedWidth;
  e->frame->height = codedHeight;
  if (av_frame_get_buffer(e->frame, 0) < 0) return "there is not enough memory";
  if (format.pixels == AV_PIX_FMT_YUV420P) {
    // Each 0xffRRGGBB word is B, G, R, A in memory on a little-endian machine.
    static_assert(std::endian::native == std::endian::little);
    e->scale = sws_getContext(codedWidth, codedHeight, AV_PIX_FMT_BGRA, codedWidth, codedHeight,
                              AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr,
                              nullptr);
    if (!e->scale) return "there is not enough memory";
    sws_setColorspaceDetails(e->scale, sws_getCoefficients(SWS_CS_DEFAULT), 1,
                             sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16, 1 << 16);
    if (codedWidth != width || codedHeight != height) {
      e->padded.assign(static_cast<size_t>(codedWidth) * codedHeight, 0xff000000u);
    }
  }
  encoder_ = std::move(e);
  return std::nullopt;
}

std::optional<std::string> VideoFile::add(const uint32_t* pixels, int strideWords) {
  Encoder& e = *encoder_;
  if (av_frame_make_writable(e.frame) < 0) return "there is not enough memory";
  if (e.scale) {
    const uint32_t* rows = pixels;
    int rowWords = strideWords;
    if (!e.padded.empty()) {
      const int codedWidth = e.frame->width;
      for (int y = 0; y < e.height; ++y) {
        std::copy_n(pixels + static_cast<size_t>(y) * strideWords, e.width,
                    e.padded.begin() + static_cast<ptrdiff_t>(y) * codedWidth);
      }
      rows = e.padded.data();
      rowWords = codedWidth;
    }
    const uint8_t* planes[1] = {reinterpret_cast<const uint8_t*>(rows)};
    const int strides[1] = {rowWords * 4};
    sws_scale(e.scale, planes, strides, 0, e.frame->height, e.frame->data, e.frame->linesize);
  } else {
    // Lossless: each word's red, green and blue bytes as they are.
    for (int y = 0; y < e.height; ++y) {
      const uint32_t* row = pixels + static_cast<size_t>(y) * strideWords;
      uint8_t* out = e.frame->data[0] + static_cast<ptrdiff_t>(y) * e.frame->linesize[0];
      for (int x = 0; x < e.width; ++x) {
        *out++ = static_cast<uint8_t>(row[x] >> 16);
        *out++ = static_cast<uint8_t>(row[x] >> 8);
        *out++ = static_cast<uint8_t>(row[x]);
      }
    }
  }
  e.frame->pts = e.next++;
  return e.send(e.frame);
}

std::optional<std::string> VideoFile::finish() {
  Encoder& e = *encoder_;
  if (auto why = e.send(nullptr)) return why;
  const int status = av_write_trailer(e.container);
  if (status < 0) return e.failure("writing", status);
  avio_flush(e.io);
  if (e.io->error < 0) return e.failure("writing", e.io->error);
  auto why = e.file->commit();
  encoder_.reset();
  return why;
}

}  // namespace velmora
