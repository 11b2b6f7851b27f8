#include "CpuReference.h"

#include <algorithm>
#include <cmath>

namespace Orvane::Lumisk::Reference {
namespace {

float Smoothstep(float e0, float e1, float x)
{
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float Mix(float a, float b, float t)
{
    return a * (1.0f - t) + b * t;
}

// x = a*px + b*py + tx, y = c*px + d*py + ty.
struct Affine {
    double a, b, tx, c, d, ty;
};

// The shape is laid out about the view centre, scaled, turned by the
// rotation about it and moved so that the view centre lands on the centre.
Affine Placement(const ReferenceSettings& s, int width, int height)
{
    const bool circle = s.mapType == 3;
    const double sx = circle ? 1.0 : s.scaleX;
    const double sy = circle ? 1.0 : s.scaleY;
    const double theta = s.rotation * 0.017453292519943;
    const double ca = std::cos(theta);
    const double sa = std::sin(theta);
    const double ax = width * 0.5;
    const double ay = height * 0.5;
    Affine m{ca * sx, -sa * sy, 0.0, sa * sx, ca * sy, 0.0};
    m.tx = s.centerX - (m.a * ax + m.b * ay);
    m.ty = s.centerY - (m.c * ax + m.d * ay);
    return m;
}

// Exact inverse down to |det| 1e-12; below it the linear part is zero and
// every point maps to (b*ty - d*tx, c*tx - a*ty).
Affine Inverse(const Affine& m)
{
    const double det = m.a * m.d - m.b * m.c;
    const double k = std::fabs(det) < 1e-12 ? 0.0 : 1.0 / det;
    const double t = k == 0.0 ? 1.0 : k;
    return {k * m.d, -k * m.b, (m.b * m.ty - m.d * m.tx) * t, -k * m.c, k * m.a, (m.c * m.tx - m.a * m.ty) * t};
}

// Signed distance to the ellipse (semi-axes a along x, b along y), negative
// inside, by the same medial-axis start and four Newton steps as the map
// program, with its closed form on the line x = 0.
float EllipseDistance(float px, float py, float a, float b)
{
    const float x = std::fabs(px);
    const float y = std::fabs(py);
    if (x == 0.0f) {
        if (a >= b || y >= b - a * a / b)
            return y - b;
        return -a * std::sqrt(1.0f - y * y / (b * b - a * a));
    }
    float x2 = x * x;
    const float y2 = y * y;
    const float a2 = a * a;
    const float b2 = b * b;
    const float bb = a2 + b2 - x2 - y2;
    const float cc = a2 * b2 - x2 * b2 - y2 * a2;
    const float d = std::sqrt(std::max(0.0f, bb * bb - 4.0f * cc));
    float t = 0.5f * (bb + d);
    x2 = std::max(0.0f, a2 * (a2 - t) / (a2 - b2));
    t = std::sqrt(x2) * (1.0f - b2 / a2);
    float t2 = t * t;
    const float e2 = (a2 - b2) * (a2 - b2);
    auto f = [&](float tt, float tt2) { return tt2 * y2 * b2 + (x - tt) * (x - tt) * (tt2 * a2 - e2); };
    float fx = f(t, t2);
    for (int i = 0; i < 4; ++i) {
        const float dfx = 2.0f * (t * (y2 * b2 + (x - t) * (x - t) * a2) - t2 * (x - t) * a2 + (x - t) * e2);
        t = t - fx / dfx;
        t2 = t * t;
        fx = f(t, t2);
    }
    const float dx = std::sqrt(std::max(0.0f, 1.0f - t2 / (a2 - b2))) * b;
    return std::sqrt((x - t) * (x - t) + y2) - dx;
}

struct MapInputs {
    float feather, sx, sy, p1x, p1y, p2x, p2y;
};

MapInputs InputsFor(const ReferenceSettings& s, int width, int height)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    MapInputs in{static_cast<float>(std::max(s.feather, 0.5)), static_cast<float>(s.scaleX), static_cast<float>(s.scaleY), 0, 0, 0, 0};
    if (s.mapType == 1 || s.mapType == 2) {
        in.p1x = w * 0.5f;
        in.p1y = 0.0f;
        in.p2x = w * 0.5f;
        in.p2y = h;
    } else {
        const float r = static_cast<float>(std::max(width, height) / 1.5 * 0.5);
        in.p1x = w * 0.5f;
        in.p1y = h * 0.5f;
        in.p2x = r;
        in.p2y = r;
    }
    return in;
}

// Fraction of the band axis at which pos lies (0 at the first row's edge).
float AxisFraction(const MapInputs& in, float x, float y)
{
    const float rx = in.p1x - in.p2x;
    const float ry = in.p1y - in.p2y;
    const float rl = std::sqrt(rx * rx + ry * ry);
    return ((in.p1x - x) * rx + (in.p1y - y) * ry) / rl / rl;
}

float EdgeHalfWidth(const MapInputs& in)
{
    const float rx = in.p1x - in.p2x;
    const float ry = in.p1y - in.p2y;
    return in.feather / in.sy / std::sqrt(rx * rx + ry * ry);
}

float TwoBands(const MapInputs& in, float x, float y)
{
    if (in.sy == 0.0f)
        return 0.0f;
    const float e = EdgeHalfWidth(in);
    return Mix(0.0f, 1.0f, Smoothstep(0.5f - e, 0.5f + e, AxisFraction(in, x, y)));
}

float ThreeBands(const MapInputs& in, float x, float y)
{
    if (in.sy == 0.0f)
        return 0.0f;
    const float e = EdgeHalfWidth(in);
    const float t = AxisFraction(in, x, y);
    const float third = 1.0f / 3.0f;
    float color = 1.0f;
    color = Mix(color, 0.0f, Smoothstep(third - e, third + e, t));
    color = Mix(color, 1.0f, Smoothstep(third * 2.0f - e, third * 2.0f + e, t));
    return color;
}

float Circle(const MapInputs& in, float x, float y)
{
    if (in.sx * in.sy == 0.0f)
        return 0.0f;
    const float px = x - in.p1x;
    const float py = y - in.p1y;
    const float r = in.p2x;
    const float d = std::fabs(in.sx - in.sy) <= 0.01f ? std::sqrt(px * px + py * py) - r * in.sx
                                                       : EllipseDistance(px, py, r * in.sx, r * in.sy);
    return Smoothstep(-in.feather, in.feather, -d);
}

float Square(const MapInputs& in, float x, float y)
{
    if (in.sx * in.sy == 0.0f)
        return 0.0f;
    const float fx = in.feather / in.sx;
    const float fy = in.feather / in.sy;
    const float vx = Mix(1.0f, 0.0f, Smoothstep(in.p2x - fx, in.p2x + fx, std::fabs(x - in.p1x)));
    const float vy = Mix(1.0f, 0.0f, Smoothstep(in.p2y - fy, in.p2y + fy, std::fabs(y - in.p1y)));
    return vx * vy;
}

}  // namespace

float GeneratedMapValue(const ReferenceSettings& settings, int width, int height, float x, float y)
{
    const Affine inv = Inverse(Placement(settings, width, height));
    const float px = static_cast<float>(inv.a) * x + static_cast<float>(inv.b) * y + static_cast<float>(inv.tx);
    const float py = static_cast<float>(inv.c) * x + static_cast<float>(inv.d) * y + static_cast<float>(inv.ty);
    const MapInputs in = InputsFor(settings, width, height);
    switch (settings.mapType) {
    case 1: return TwoBands(in, px, py);
    case 2: return ThreeBands(in, px, py);
    case 3: return Circle(in, px, py);
    case 4: return Square(in, px, py);
    default: return 0.0f;
    }
}

Image GenerateMap(const ReferenceSettings& settings, int width, int height)
{
    Image map(width, height);
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            const float x = (static_cast<float>(i) + 0.5f) / static_cast<float>(width) * static_cast<float>(width);
            const float y = (static_cast<float>(j) + 0.5f) / static_cast<float>(height) * static_cast<float>(height);
            const float m = GeneratedMapValue(settings, width, height, x, y);
            map.At(i, j) = {1.0f, m, m, m};
        }
    }
    return map;
}

}  // namespace Orvane::Lumisk::Reference
