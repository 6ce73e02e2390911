#include "quillet/convert.h"

#include <stdexcept>

#include "core/file_run.h"
#include "platform/files.h"

#ifndef QUILLET_VERSION
#error "QUILLET_VERSION is defined by the build, from the project's version"
#endif

namespace quillet {

namespace core {

std::optional<std::string> options_problem(const ConvertOptions& options,
                                           platform::FileSystem& files) {
  if (options.missing && options.missing->find_first_of("\t\r\n") != std::string::npos) {
    return "the text of --missing may not hold a TAB, CR or LF (it would break the table's "
           "columns)";
  }
  if (options.output_dir) {
    if (!files.exists(*options.output_dir)) {
      return "the output folder " + *options.output_dir + " does not exist";
    }
    if (!files.is_directory(*options.output_dir)) {
      return "the output folder " + *options.output_dir + " is not a folder";
    }
  }
  return std::nullopt;
}

}  // namespace core

std::optional<std::string> options_problem(const ConvertOptions& options) {
  return core::options_problem(options, platform::real_file_system());
}

std::vector<FileReport> convert_files(const std::vector<std::string>& files,
                                      const ConvertOptions& options,
                                      const std::function<void(const FileReport&)>& each) {
  if (const std::optional<std::string> problem = options_problem(options)) {
    throw std::invalid_argument(*problem);
  }
  core::FileRun run(platform::real_file_system(), options, files);
  std::vector<FileReport> reports;
  for (const std::string& file : files) {
    reports.push_back(run.convert(file));
    if (each) each(reports.back());
  }
  return reports;
}

std::string version() { return QUILLET_VERSION; }

}  // namespace quillet
