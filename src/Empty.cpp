// Placeholder translation unit for a layer library that has no sources of its own yet.
namespace qbm {
} // namespace qbm
