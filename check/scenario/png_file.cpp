#include "check/scenario/png_file.h"

#include <wincodec.h>

#include "check/code_pages.h"

namespace check {

namespace {

// Releases a COM interface at the end of its scope.
template <typename T>
class Held {
public:
    Held() = default;
    ~Held()
    {
        if (m_pointer != nullptr) m_pointer->Release();
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    T** Out() { return &m_pointer; }
    T* operator->() const { return m_pointer; }
    T* Get() const { return m_pointer; }

private:
    T* m_pointer = nullptr;
};

// 24-bit BGR rows: the encoder keeps that format as it is, where a 32-bit one would be written
// with an alpha channel of 0.
std::vector<BYTE> BgrRows(const ScreenImage& image, UINT stride)
{
    std::vector<BYTE> rows(static_cast<std::size_t>(stride) * image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t pixel = image.pixels[static_cast<std::size_t>(y) * image.Width() + x];
            BYTE* out = &rows[static_cast<std::size_t>(y) * stride + x * 3];
            out[0] = pixel & 0xFF;
            out[1] = pixel >> 8 & 0xFF;
            out[2] = pixel >> 16 & 0xFF;
        }
    return rows;
}

bool Encode(IWICImagingFactory* factory, const std::wstring& path, const ScreenImage& image)
{
    Held<IWICStream> stream;
    Held<IWICBitmapEncoder> encoder;
    Held<IWICBitmapFrameEncode> frame;
    if (FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.Out(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(image.Width(), image.Height())))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;
    const UINT stride = (image.Width() * 3 + 3) & ~3u;
    std::vector<BYTE> rows = BgrRows(image, stride);
    return SUCCEEDED(frame->WritePixels(image.Height(), stride, static_cast<UINT>(rows.size()), rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

bool WritePng(const std::string& path, const ScreenImage& image)
{
    if (image.pixels.empty()) return false;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool written = false;
    {
        Held<IWICImagingFactory> factory;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                       reinterpret_cast<void**>(factory.Out()))))
            written = Encode(factory.Get(), Wide(path), image);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return written;
}

}  // namespace check
