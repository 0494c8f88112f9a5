// The fifteen pieces: glass, light and living things meant to be seen translucent and turning on
// black. Pairs with pieces.h. Units: the cell's half-height is 1; edges are ~1.5 pixels soft.
#include "tools/pictures/pieces.h"

#include <cmath>

using namespace shade;

namespace {

constexpr float kEdge = 0.012f;
const Colour kWhite = {1, 1, 1};

// `above` composited over `below`. Colour stays defined where both are transparent.
Texel over(Texel below, Texel above) {
    float a = above.alpha + below.alpha * (1.0f - above.alpha);
    float wa = above.alpha + 1e-3f, wb = below.alpha * (1.0f - above.alpha) + 5e-4f;
    return {(above.colour * wa + below.colour * wb) * (1.0f / (wa + wb)), a};
}

float angleOf(Vec2 p) { return std::atan2(p.y, p.x); }

// Five glass petals around a golden heart; petals clearer in the middle, denser at the rim.
Texel glassFlower(Vec2 p) {
    float r = length(p), a = angleOf(p) - kPi / 2;
    float lobe = std::pow(std::fabs(std::cos(2.5f * a)), 0.7f);
    float reach = 0.2f + 0.66f * lobe;
    float t = clamp01(r / reach);
    float petal = inside(r - reach, kEdge);
    float vein = 1.0f - smoothstep(0.0f, 0.06f, std::fabs(std::sin(2.5f * a)) * r);
    Colour colour = hsv(0.78f + 0.17f * t, 0.8f - 0.35f * t * t * t, 1.0f);
    colour = mix(colour, kWhite, 0.55f * smoothstep(0.8f, 1.0f, t) + 0.25f * vein);
    Texel texel = {colour, petal * (0.3f + 0.55f * t * t + 0.15f * vein)};
    float heart = inside(r - 0.15f, kEdge);
    Colour gold = mix(hsv(0.11f, 0.85f, 1.0f), kWhite, 0.5f * (1.0f - r / 0.15f));
    return over(texel, {gold, heart * 0.95f});
}

// A soap bubble: nearly clear inside, an iridescent rim and two highlights.
Texel bubble(Vec2 p) {
    float r = length(p) / 0.8f, a = angleOf(p);
    float cover = inside(length(p) - 0.8f, kEdge);
    Colour colour = hsv(0.55f + 0.9f * r + 0.12f * r * std::sin(3.0f * a + 4.0f * r), 0.2f + 0.45f * r * r, 1.0f);
    Texel texel = {colour, cover * (0.14f + 0.8f * std::pow(r, 5.0f))};
    Vec2 d1 = p - Vec2{-0.3f, 0.34f}, d2 = p - Vec2{0.34f, -0.36f};
    float spot = std::exp(-dot(d1, d1) / 0.012f) + 0.5f * std::exp(-dot(d2, d2) / 0.006f);
    return over(texel, {kWhite, clamp01(spot) * 0.85f * cover});
}

// A peacock feather: curved shaft, barbed vane shading from cyan to violet, an eye near the tip.
Texel feather(Vec2 p) {
    Vec2 q = rotate(p, -0.785f) * (1.0f / 1.2f);
    float shaft = 0.16f * q.y * q.y - 0.08f;
    float dx = q.x - shaft;
    float t = clamp01((q.y + 0.86f) / 1.72f);
    float half = 0.4f * std::pow(std::sin(kPi * std::pow(t, 0.8f)), 0.7f) * (dx > 0 ? 0.78f : 1.0f);
    float vane = inside(std::fabs(dx) - half, kEdge) * inside(std::fabs(q.y) - 0.86f, 0.02f);
    float across = clamp01(std::fabs(dx) / std::max(half, 1e-3f));
    float barbs = 0.5f + 0.5f * std::cos(110.0f * (q.y - 0.6f * std::fabs(dx)));
    float split = smoothstep(0.72f, 0.8f, noise(Vec2{across * 2.0f, (q.y - 0.6f * std::fabs(dx)) * 16.0f}));
    Colour colour = hsv(0.48f + 0.3f * t, 0.75f, 0.85f + 0.15f * across);
    float alpha = vane * (0.45f + 0.25f * barbs + 0.2f * across) * (1.0f - 0.7f * split * across);
    alpha *= smoothstep(0.0f, 0.25f, t) * 0.6f + 0.4f;
    Vec2 eye = q - Vec2{0.16f * 0.5f * 0.5f - 0.08f, 0.5f};
    float e = length(Vec2{eye.x * 1.3f, eye.y});
    if (e < 0.2f) {
        Colour ring = e < 0.07f ? hsv(0.64f, 0.9f, 0.9f) : e < 0.12f ? hsv(0.45f, 0.8f, 1.0f) : hsv(0.12f, 0.8f, 1.0f);
        float blend = smoothstep(0.2f, 0.17f, e);
        colour = mix(colour, ring, blend);
        alpha = mix(alpha, vane * 0.9f, blend);
    }
    Texel texel = {colour, alpha};
    float spine = inside(std::fabs(dx) - 0.012f * (1.2f - t), 0.006f) * inside(std::fabs(q.y + 0.04f) - 0.9f, 0.02f);
    return over(texel, {hsv(0.13f, 0.35f, 1.0f), spine * 0.95f});
}

// A cut crystal: a long hexagon with a table facet, each facet its own shade, bright edges.
Texel crystal(Vec2 p) {
    const Vec2 corners[6] = {{0.0f, 0.88f}, {0.52f, 0.44f}, {0.52f, -0.44f}, {0.0f, -0.88f}, {-0.52f, -0.44f}, {-0.52f, 0.44f}};
    const float shades[6] = {1.0f, 0.75f, 0.5f, 0.65f, 0.85f, 0.95f};
    float outer = -1e9f, table = -1e9f;
    for (int i = 0; i < 6; ++i) {
        Vec2 a = corners[i], b = corners[(i + 1) % 6];
        Vec2 n = {a.y - b.y, b.x - a.x};
        n = n * (1.0f / length(n));
        outer = std::max(outer, dot(p - a, n));
        table = std::max(table, dot(p - a * 0.42f, n));
    }
    float edge = 0.0f;
    for (int i = 0; i < 6; ++i) edge = std::max(edge, 1.0f - smoothstep(0.006f, 0.02f, segment(p, corners[i] * 0.42f, corners[i])));
    edge = std::max(edge, 1.0f - smoothstep(0.006f, 0.02f, std::fabs(table)));
    edge = std::max(edge, 1.0f - smoothstep(0.006f, 0.03f, std::fabs(outer)));
    float angle = fract((angleOf(p) - kPi / 2) / (2 * kPi));
    int facet = static_cast<int>(angle * 6.0f) % 6;
    float shade = table < 0 ? 1.1f : shades[facet];
    float sheen = 0.5f + 0.5f * std::sin(6.0f * (p.x + p.y));
    Colour colour = hsv(0.56f + 0.14f * shade + 0.05f * sheen, 0.65f, 0.55f + 0.45f * clamp01(shade));
    colour = mix(colour, kWhite, 0.7f * edge);
    float alpha = inside(outer, kEdge) * clamp01(0.4f + 0.3f * shade + 0.5f * edge);
    return {colour, alpha};
}

// Two four-pointed stars, one turned by 45 degrees, on a warm glow.
Texel sparkle(Vec2 p) {
    float r = length(p);
    auto star = [](Vec2 q, float size) {
        float f = (std::sqrt(std::fabs(q.x)) + std::sqrt(std::fabs(q.y))) / std::sqrt(size) - 1.0f;
        return smoothstep(0.03f, -0.03f, f);
    };
    float big = star(p, 0.86f), small = star(rotate(p, kPi / 4), 0.48f);
    float glow = std::exp(-r * r * 9.0f) * 0.7f;
    float alpha = 1.0f - (1.0f - big * 0.9f) * (1.0f - small * 0.6f) * (1.0f - glow);
    Colour colour = hsv(0.13f - 0.2f * r, smoothstep(0.0f, 0.55f, r) * 0.75f, 1.0f);
    return {colour, alpha * smoothstep(0.9f, 0.8f, r)};
}

// A spiral of three arms around a bright core, sprinkled with small stars.
Texel spiral(Vec2 p) {
    float r = length(p), a = angleOf(p);
    float arm = std::pow(0.5f + 0.5f * std::cos(3.0f * a - 7.0f * std::log(r + 0.08f)), 2.5f);
    float envelope = smoothstep(0.86f, 0.55f, r);
    float core = std::exp(-r * r * 28.0f);
    Vec2 cell = {std::floor(p.x * 12.0f), std::floor(p.y * 12.0f)};
    std::int32_t cx = static_cast<std::int32_t>(cell.x), cy = static_cast<std::int32_t>(cell.y);
    Vec2 star = Vec2{(cell.x + 0.2f + 0.6f * hash(cx, cy)) / 12.0f, (cell.y + 0.2f + 0.6f * hash(cy, cx + 91)) / 12.0f};
    float speck = hash(cx + 17, cy - 5) > 0.55f ? inside(length(p - star) - 0.008f - 0.008f * hash(cx, cy + 3), 0.008f) : 0.0f;
    speck *= envelope;
    float alpha = clamp01(envelope * (0.15f + 0.7f * arm) + core + speck * 0.6f);
    Colour colour = hsv(0.78f - 0.3f * r, 0.75f - 0.5f * core, 0.75f + 0.25f * arm);
    colour = mix(colour, kWhite, clamp01(core + speck));
    return {colour, alpha};
}

// A rainbow halo with a thin golden ring inside.
Texel halo(Vec2 p) {
    float r = length(p), a = angleOf(p);
    float band = (r - 0.62f) / 0.2f;
    float ring = inside(std::fabs(r - 0.62f) - 0.2f, kEdge);
    float line = std::exp(-band * band * 12.0f);
    Colour colour = mix(hsv(a / (2 * kPi), 0.8f, 1.0f), kWhite, 0.6f * line);
    Texel texel = {colour, ring * (0.35f + 0.45f * std::sqrt(clamp01(1.0f - band * band)) + 0.2f * line)};
    float inner = inside(std::fabs(r - 0.32f) - 0.025f, 0.008f);
    return over(texel, {hsv(0.12f, 0.7f, 1.0f), inner * 0.8f});
}

// A leaf turning from lime to gold, its midrib and veins catching the light.
Texel leaf(Vec2 p) {
    Vec2 q = rotate(p, -0.7f);
    float t = clamp01((q.y + 0.86f) / 1.72f);
    float half = 0.44f * std::pow(std::sin(kPi * t), 0.85f) * (1.0f - 0.3f * t);
    float blade = inside(std::fabs(q.x) - half, kEdge) * inside(std::fabs(q.y) - 0.86f, 0.02f);
    float rib = 1.0f - smoothstep(0.004f, 0.012f + 0.01f * (1.0f - t), std::fabs(q.x));
    float veinPhase = fract((q.y - 0.8f * std::fabs(q.x)) * 7.0f);
    float vein = std::max(0.0f, 1.0f - smoothstep(0.03f, 0.09f, std::fabs(veinPhase - 0.5f))) * smoothstep(0.02f, 0.06f, std::fabs(q.x));
    float across = clamp01(std::fabs(q.x) / std::max(half, 1e-3f));
    Colour colour = hsv(0.26f - 0.14f * across - 0.1f * t, 0.85f, 0.8f + 0.2f * across);
    colour = mix(colour, hsv(0.15f, 0.4f, 1.0f), std::max(rib, vein * 0.6f));
    float alpha = blade * clamp01(0.45f + 0.35f * across * across + 0.5f * rib + 0.25f * vein);
    return {colour, alpha};
}

// A six-fold ice crystal: arms with three pairs of branches, a hexagonal heart, a cold glow.
Texel snowflake(Vec2 p) {
    float r = length(p), a = angleOf(p);
    float sector = kPi / 3;
    float f = std::fabs(a - sector * std::floor(a / sector + 0.5f));
    Vec2 q = {r * std::cos(f), r * std::sin(f)};
    float d = segment(q, {0, 0}, {0.84f, 0}) - 0.035f * (1.0f - 0.5f * q.x);
    const float at[3] = {0.3f, 0.5f, 0.67f}, reach[3] = {0.26f, 0.2f, 0.12f};
    for (int i = 0; i < 3; ++i) {
        Vec2 b = {at[i] + reach[i] * 0.5f, reach[i] * 0.866f};
        d = std::min(d, segment(q, {at[i], 0}, b) - 0.022f);
    }
    float hex = std::fabs(q.x * 0.866f + q.y * 0.5f - 0.16f) - 0.02f;
    d = std::min(d, std::max(hex, q.x - 0.22f));
    float body = inside(d, 0.01f);
    float glow = 0.45f * std::exp(-std::max(d, 0.0f) * 22.0f);
    Colour colour = mix(hsv(0.56f + 0.06f * r, 0.75f, 1.0f), kWhite, body * (1.0f - 0.6f * r));
    return {colour, clamp01(body * 0.85f + glow * (1.0f - body)) * smoothstep(0.92f, 0.82f, r)};
}

// A firework: twenty rays of different colours, each ending in a bright spark.
Texel firework(Vec2 p) {
    constexpr int kRays = 20;
    float r = length(p), a = angleOf(p);
    int nearest = static_cast<int>(std::floor(a / (2 * kPi) * kRays + 0.5f));
    Texel texel = {hsv(0.1f, 0.4f, 1.0f), 0.8f * std::exp(-r * r * 40.0f)};
    for (int k = nearest - 1; k <= nearest + 1; ++k) {
        int ray = ((k % kRays) + kRays) % kRays;
        float angle = ray * 2 * kPi / kRays;
        Vec2 dir = {std::cos(angle), std::sin(angle)};
        float end = 0.58f + 0.22f * hash(ray, 7);
        float line = inside(segment(p, dir * 0.1f, dir * end) - 0.009f, 0.008f);
        float spark = inside(length(p - dir * end) - 0.04f, 0.01f);
        float along = clamp01(r / end);
        Colour colour = mix(hsv(static_cast<float>(ray) / kRays, 0.75f, 1.0f), kWhite, spark * 0.6f);
        texel = over(texel, {colour, std::max(line * (0.3f + 0.6f * along), spark * 0.95f)});
    }
    return texel;
}

// A scallop shell: a fan of ribs with a scalloped rim, coral to pearl.
Texel shell(Vec2 p) {
    Vec2 q = p - Vec2{0, -0.64f};
    float rho = length(q), ang = std::atan2(q.x, q.y);
    float rib = 0.5f + 0.5f * std::cos(ang * 24.0f);
    float rim = 1.32f - 0.05f * (1.0f - rib);
    float fan = inside(rho - rim, kEdge) * inside((std::fabs(ang) - 0.64f) * rho, kEdge) * smoothstep(0.04f, 0.1f, rho);
    float ear = inside(ellipse(q - Vec2{0, 0.03f}, 0.17f, 0.07f), kEdge);
    float growth = 0.5f + 0.5f * std::cos(rho * 55.0f);
    Colour colour = hsv(0.96f + 0.1f * rho + 0.05f * std::sin(ang * 3.0f), 0.75f - 0.2f * rho, 1.0f);
    colour = mix(colour, hsv(0.55f + 0.2f * rho, 0.3f, 1.0f), 0.35f * rib * smoothstep(0.6f, 1.3f, rho));
    float alpha = clamp01(std::max(fan, ear) * (0.45f + 0.3f * rib + 0.1f * growth + 0.15f * smoothstep(rim - 0.12f, rim, rho)));
    return {colour, alpha};
}

// Three overlapping lights, red, green and blue, meeting in white.
Texel triple(Vec2 p) {
    const Colour lights[3] = {{1.0f, 0.22f, 0.42f}, {0.3f, 1.0f, 0.45f}, {0.28f, 0.45f, 1.0f}};
    Colour sum = {0, 0, 0};
    float clear = 1.0f;
    for (int i = 0; i < 3; ++i) {
        float angle = kPi / 2 + i * 2 * kPi / 3;
        Vec2 d = p - Vec2{0.3f * std::cos(angle), 0.3f * std::sin(angle)};
        float cover = inside(length(d) - 0.5f, kEdge);
        float rim = std::pow(clamp01(length(d) / 0.5f), 3.0f);
        sum = sum + lights[i] * (0.35f + 0.65f * rim) * std::max(cover, 0.02f);
        clear *= 1.0f - cover * (0.35f + 0.4f * rim);
    }
    float peak = std::max(sum.r, std::max(sum.g, sum.b));
    return {sum * (1.0f / std::max(peak, 1e-3f)), 1.0f - clear};
}

// Two silk ribbons winding across the wide band, twisting to show their darker backs.
Texel ribbons(Vec2 p) {
    Texel texel = {{0.5f, 0.5f, 0.5f}, 0.0f};
    for (int j = 0; j < 2; ++j) {
        float phase = j * 2.4f, twistPhase = j * 1.3f + 0.4f;
        float centre = 0.36f * std::sin(1.7f * p.x + phase);
        float slope = 0.36f * 1.7f * std::cos(1.7f * p.x + phase);
        float twist = std::cos(1.15f * p.x + twistPhase);
        float width = 0.05f + 0.2f * std::fabs(twist);
        float across = (p.y - centre) / std::sqrt(1.0f + slope * slope);
        float band = inside(std::fabs(across) - width, kEdge) * smoothstep(1.62f, 1.3f, std::fabs(p.x));
        float u = across / width;
        float sheen = std::exp(-(u - 0.3f) * (u - 0.3f) * 5.0f);
        float hue = j == 0 ? 0.9f + 0.06f * p.x : 0.5f + 0.07f * p.x;
        float value = twist > 0 ? 0.75f + 0.25f * sheen : 0.55f + 0.2f * sheen;
        Colour colour = mix(hsv(hue, 0.8f, value), kWhite, 0.35f * sheen * (twist > 0 ? 1.0f : 0.3f));
        texel = over(texel, {colour, band * (0.6f + 0.3f * sheen)});
    }
    return texel;
}

// A butterfly, wings open: orange to magenta, dark veins, a blue eye and a dotted rim.
Texel butterfly(Vec2 p) {
    Vec2 q = {std::fabs(p.x), p.y};
    Vec2 upper = rotate(q - Vec2{0.56f, 0.28f}, -0.45f), lower = rotate(q - Vec2{0.38f, -0.36f}, 0.5f);
    float d = std::min(ellipse(upper, 0.62f, 0.48f), ellipse(lower, 0.38f, 0.42f));
    float wing = inside(d, kEdge) * smoothstep(0.03f, 0.07f, q.x);
    Vec2 root = q - Vec2{0.02f, 0.02f};
    float spread = clamp01(length(root) / 1.1f);
    float vein = 1.0f - smoothstep(0.0f, 0.05f, std::fabs(std::sin(std::atan2(root.y, root.x) * 5.5f)) * length(root));
    float rimBand = smoothstep(-0.09f, -0.05f, d);
    float dots = rimBand * smoothstep(0.55f, 0.8f, std::cos(std::atan2(root.y, root.x) * 30.0f)) * smoothstep(-0.01f, -0.04f, d);
    Colour colour = hsv(0.07f - 0.14f * spread, 0.85f, 1.0f);
    colour = mix(colour, hsv(0.75f, 0.8f, 0.5f), 0.6f * rimBand);
    colour = mix(colour, hsv(0.1f, 0.6f, 0.6f), 0.5f * vein);
    float eye = length(q - Vec2{0.78f, 0.42f});
    if (eye < 0.14f) colour = mix(colour, eye < 0.05f ? kWhite : hsv(0.6f, 0.85f, 1.0f), smoothstep(0.14f, 0.12f, eye));
    colour = mix(colour, kWhite, dots);
    float alpha = wing * clamp01(0.6f + 0.25f * spread - 0.2f * vein + 0.3f * dots);
    float body = inside(ellipse(p - Vec2{0, -0.02f}, 0.045f, 0.5f), 0.01f);
    float antennae = std::min(segment(q, {0.0f, 0.42f}, {0.24f, 0.8f}) - 0.008f, length(q - Vec2{0.24f, 0.8f}) - 0.025f);
    float stalk = inside(antennae, 0.006f);
    return over({colour, alpha}, {hsv(0.1f, 0.3f, 0.9f), std::max(body, stalk) * 0.9f});
}

// Distance-like measure to a teardrop with its tip at the top: a round base and a tapering flame.
float teardrop(Vec2 q) {
    const float base = -0.36f, radius = 0.44f, tip = 0.86f;
    float half;
    if (q.y < base) half = std::sqrt(std::max(0.0f, radius * radius - (q.y - base) * (q.y - base)));
    else half = radius * std::pow(clamp01((tip - q.y) / (tip - base)), 1.35f);
    return std::max(std::fabs(q.x) - half, base - radius - q.y);
}

// A flame on the narrow piece: red outer veil, orange body, a white-blue core.
Texel flame(Vec2 p) {
    Vec2 q = {p.x - 0.07f * std::sin(3.2f * p.y + 0.5f) * (p.y + 0.9f), p.y};
    const Vec2 anchor = {0.0f, -0.8f};
    float outer = teardrop(q);
    float glow = 0.3f * std::exp(-std::max(outer, 0.0f) * 18.0f) * smoothstep(0.95f, 0.7f, p.y);
    Texel texel = {hsv(0.02f, 0.9f, 1.0f), inside(outer, kEdge) * 0.5f + glow * (1.0f - inside(outer, kEdge))};
    float middle = teardrop((q - anchor) * (1.0f / 0.68f) + anchor) * 0.68f;
    texel = over(texel, {hsv(0.08f, 0.85f, 1.0f), inside(middle, kEdge) * 0.7f});
    float core = teardrop((q - anchor) * (1.0f / 0.38f) + anchor) * 0.38f;
    texel = over(texel, {mix(hsv(0.14f, 0.5f, 1.0f), hsv(0.58f, 0.35f, 1.0f), smoothstep(-0.4f, -0.7f, q.y)), inside(core, kEdge) * 0.95f});
    return texel;
}

const PieceShader kShaders[15] = {glassFlower, bubble, feather, crystal, sparkle, spiral, halo, leaf,
                                  snowflake, firework, shell, triple, ribbons, butterfly, flame};

}  // namespace

PieceShader pieceShader(int row) { return kShaders[row]; }
