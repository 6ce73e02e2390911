#include "core/file_types.h"

namespace quillet::core {
namespace {

constexpr std::array<FileType, kFileTypes> kTypes = {{
    {0, 0, 0, ""},
    {1, 0, 3, "MORVEN.CRONOL"},
    {2, 3, 0, "MORVEN.INDEX "},
    {3, 3, 0, "MORVEN.CURVES "},
    {4, 3, 0, "MORVEN.RESIDUALS "},
    {5, 3, 0, "MORVEN.WEIGHTS "},
    {6, 0, 1, "BILTOSE.MASTER"},
    {7, 0, 0, ""},
    {8, 0, 0, ""},
    {9, 0, 0, ""},
}};

}  // namespace

const FileType& file_type(int number) { return kTypes.at(static_cast<std::size_t>(number)); }

std::span<const FileType> offered_file_types() { return std::span(kTypes).subspan(1, 6); }

}  // namespace quillet::core
