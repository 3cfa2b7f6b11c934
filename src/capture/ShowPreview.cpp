#include "capture/ShowPreview.h"

#include <algorithm>

#include "host/Checked.h"

using host::checked::CSng;
using host::checked::Div;

namespace {
// A picture far flatter or narrower than the box still shows as one pixel line (in twips), and the
// box keeps room for it inside its border.
constexpr float kOneLine = 15;
}  // namespace

void ShowPreview(host::PictureBox& Picture1, const host::Picture& picClip) {
    // The box's full geometry, restored before every fitting.
    Picture1.SetHeight(3135);
    Picture1.SetWidth(3255);
    Picture1.SetLeft(120);
    Picture1.SetTop(1920);

    const float r = CSng(Div(picClip.Width(), picClip.Height()));
    const float sw = Picture1.ScaleWidth();
    const float sh = Picture1.ScaleHeight();
    const float W = Picture1.Width();
    const float H = Picture1.Height();
    const float b = CSng(Div(W, H));

    float fw, fh;
    if (b > r) {
        // Narrower than the box: full height, narrowed box moved by half the height's surplus.
        fw = std::max(CSng(double(r) * sh), kOneLine);
        fh = sh;
        Picture1.SetWidth(std::max(CSng(double(Picture1.Height()) * r), kOneLine + (W - sw)));
        Picture1.SetLeft(CSng((double(Picture1.Height()) - Picture1.Width()) / 2 + Picture1.Left()));
    } else {
        // As wide or wider: full width, shortened box moved by half the width's surplus.
        fw = sw;
        fh = std::max(CSng(Div(sw, r)), kOneLine);
        Picture1.SetHeight(std::max(CSng(Div(Picture1.Width(), r)), kOneLine + (H - sh)));
        Picture1.SetTop(CSng((double(Picture1.Width()) - Picture1.Height()) / 2 + Picture1.Top()));
    }

    Picture1.Cls();
    Picture1.SetAutoRedraw(true);
    const float sw2 = Picture1.ScaleWidth();
    const float sh2 = Picture1.ScaleHeight();
    Picture1.PaintPicture(picClip, CSng((double(sw2) - fw) / 2), CSng((double(sh2) - fh) / 2), fw, fh);
}
