// Stands in for a layer that has no sources yet, so every layer is a real library.
namespace {
[[maybe_unused]] int zorvaneEmptyLayer;
}
