# The package's functions. The library reads, converts and words every message; this file
# checks the arguments and turns the library's lines into R's conditions.

file_type_code <- function(type) {
  if (length(type) == 1L && !is.na(type)) {
    if (identical(type, "auto")) return(-1L)
    if (is.numeric(type) && type %in% 0:9) return(as.integer(type))
    if (is.character(type) && type %in% as.character(0:9)) return(as.integer(type))
  }
  stop("'type' must be \"auto\" or one of 0-9", call. = FALSE)
}

flag <- function(value, name) {
  if (!is.logical(value) || length(value) != 1L || is.na(value)) {
    stop(sprintf("'%s' must be TRUE or FALSE", name), call. = FALSE)
  }
  value
}

# A path (expanded) or the bytes themselves.
input_of <- function(file) {
  if (is.raw(file)) return(file)
  if (!is.character(file) || length(file) != 1L || is.na(file)) {
    stop("'file' must be a path (one string) or a raw vector", call. = FALSE)
  }
  path.expand(file)
}

paths_of <- function(files, what = "files") {
  if (!is.character(files) || anyNA(files)) {
    stop(sprintf("'%s' must be paths (a character vector)", what), call. = FALSE)
  }
  path.expand(files)
}

# A condition of class quillet_warning or quillet_error: the message, and the file, the
# number of its first error line (NA when none) and all its lines.
quillet_condition <- function(class, message, report, ...) {
  structure(class = c(class, if (class == "quillet_error") "error" else "warning", "condition"),
            list(message = message, call = NULL, file = report$file, line = report$line,
                 lines = report$lines, ...))
}

# The warnings of a converted file, one condition per line, in order.
signal_warnings <- function(report) {
  for (line in report$lines) {
    warning(quillet_condition("quillet_warning", line, report))
  }
}

failure <- function(report) {
  quillet_condition("quillet_error", paste(report$errors, collapse = "\n"), report)
}

read_crn <- function(file, type = "auto", strict = FALSE) {
  result <- .Call(quillet_read_crn_, input_of(file), file_type_code(type),
                  flag(strict, "strict"))
  report <- result$report
  if (!report$converted) stop(failure(report))
  signal_warnings(report)
  result$data
}

read_long <- function(files, type = "auto", strict = FALSE, errors = c("stop", "warn")) {
  errors <- match.arg(errors)
  inputs <- if (is.raw(files)) files else paths_of(files)
  result <- .Call(quillet_read_long_, inputs, file_type_code(type), flag(strict, "strict"),
                  errors == "stop")
  for (report in result$reports) {
    if (report$converted) {
      signal_warnings(report)
    } else if (errors == "stop") {
      stop(failure(report))
    } else {
      warning(quillet_condition("quillet_warning", paste(report$errors, collapse = "\n"),
                                report))
    }
  }
  result$data
}

convert <- function(files, type = "auto", output_dir = NULL, missing = NULL, strict = FALSE) {
  files <- paths_of(files)
  if (!is.null(output_dir)) output_dir <- paths_of(output_dir, "output_dir")
  if (!is.null(output_dir) && length(output_dir) != 1L) {
    stop("'output_dir' must be one folder", call. = FALSE)
  }
  if (!is.null(missing) && (!is.character(missing) || length(missing) != 1L || is.na(missing))) {
    stop("'missing' must be one string", call. = FALSE)
  }
  result <- .Call(quillet_convert_, files, file_type_code(type), flag(strict, "strict"),
                  output_dir, missing)
  if (!is.null(result$problem)) {
    stop(quillet_condition("quillet_error", result$problem,
                           list(file = NA_character_, line = NA_integer_,
                                lines = result$problem)))
  }
  failed <- list()
  for (report in result$reports) {
    if (report$converted) signal_warnings(report) else failed[[length(failed) + 1L]] <- report
  }
  if (length(failed) > 0L) {
    lines <- unlist(lapply(failed, `[[`, "lines"))
    stop(quillet_condition("quillet_error",
                           paste(unlist(lapply(failed, `[[`, "errors")), collapse = "\n"),
                           list(file = vapply(failed, `[[`, "", "file"),
                                line = vapply(failed, `[[`, 0L, "line"), lines = lines),
                           written = result$written))
  }
  invisible(result$written)
}

library_version <- function() .Call(quillet_version_)
