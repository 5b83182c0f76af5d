#include "picture_decoder.h"

#include <propidl.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace
{
const CLSID *DecoderClass(PictureFormat format)
{
    switch (format)
    {
    case JpegFormat:
        return &CLSID_WICJpegDecoder;
    case PngFormat:
        return &CLSID_WICPngDecoder;
    case GifFormat:
        return &CLSID_WICGifDecoder;
    case TiffFormat:
        return &CLSID_WICTiffDecoder;
    case JpegXrFormat:
        return &CLSID_WICWmpDecoder;
    case WebpFormat:
        return &CLSID_WICWebpDecoder;
    // The HEIF extension decodes AVIF too, with the AV1 extension beside it.
    case HeifFormat:
        return &CLSID_WICHeifDecoder;
    case BmpFormat:
        return &CLSID_WICBmpDecoder;
    default:
        return NULL;
    }
}
}

ConvertResult OpenFirstFrame(PictureFormat format, IStream *stream, IWICBitmapFrameDecode **frame)
{
    const CLSID *decoderClass = DecoderClass(format);
    if (decoderClass == NULL)
        return ConvertNotAPicture;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(CoCreateInstance(*decoderClass, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&decoder))))
        return ConvertNoDecoder;
    if (FAILED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand)) || FAILED(decoder->GetFrame(0, frame)))
        return ConvertDecodeFailed;
    return ConvertDone;
}

int DecodedOrientation(IWICBitmapFrameDecode *frame)
{
    ComPtr<IWICMetadataQueryReader> metadata;
    if (FAILED(frame->GetMetadataQueryReader(&metadata)))
        return 1;
    PROPVARIANT value;
    PropVariantInit(&value);
    int orientation = 1;
    if (SUCCEEDED(metadata->GetMetadataByName(L"System.Photo.Orientation", &value)) && value.vt == VT_UI2 &&
        value.uiVal >= 1 && value.uiVal <= 8)
        orientation = value.uiVal;
    PropVariantClear(&value);
    return orientation;
}
