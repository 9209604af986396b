#pragma once

#include <QImage>

#include <vector>

namespace ui {

// A blur radius as views give it is the standard deviation of the Gaussian, in points; at a
// scale of two pixels per point it spans twice as many pixels. Not a positive finite number
// means no blur.
double blurSigma(double radius, double scale = 1);

// How far, in pixels, a blur of `sigma` spreads content: three standard deviations, past which
// less than half a percent of a pixel's weight lands. Layers and shadows grow by this much.
int blurReach(double sigma);

// Blurs `image` in place with a Gaussian of `sigma` pixels, each axis in turn. Pixels beyond the
// edges count as transparent, so content near an edge fades out rather than smearing. Works on
// premultiplied ARGB32 (other formats are converted to it) and on Alpha8, which stays Alpha8.
// A sigma that is not positive and finite leaves the image as it is.
//
// Small blurs use the true kernel; larger ones three box passes per axis, which match the
// Gaussian to within a few levels in time that does not grow with the radius.
void gaussianBlur(QImage& image, double sigma);

// Whether gaussianBlur takes the true kernel for `sigma`; if not, the half-widths of its box
// passes, which alone decide what the passes make of an image.
bool blursWithKernel(double sigma);
std::vector<int> boxBlurRadii(double sigma);

// The two ways above, for callers that need one of them.
void gaussianBlurWithKernel(QImage& image, double sigma);
void gaussianBlurWithBoxes(QImage& image, double sigma);

} // namespace ui
