test_that("each warning of a converted file is a quillet_warning with the command line's line", {
  path <- input_file("two")
  got <- conditions_of(read_crn(path))
  expect_identical(vapply(got$warnings, conditionMessage, ""), c(
    paste0(path, ":2: warning: line (BBB) is read as part of series 1 (AAA); is its end marker missing?"),
    paste0(path, ": warning: the input ends inside series 2 (CCC) without its end marker; its values up to 1879 are converted")))
  for (w in got$warnings) expect_s3_class(w, c("quillet_warning", "warning", "condition"), exact = TRUE)
  expect_identical(names(got$value), c("AAA", "CCC", "samp.depth"))
  expect_identical(attr(got$value, "conventions"), "last series without its end marker")

  raw <- conditions_of(read_crn(input_raw("two")))
  expect_identical(vapply(raw$warnings, conditionMessage, ""), c(
    "<raw>:2: warning: line (BBB) is read as part of series 1 (AAA); is its end marker missing?",
    "<raw>: warning: the input ends inside series 2 (CCC) without its end marker; its values up to 1879 are converted"))
  expect_identical(raw$value, got$value)

  # By the decade-line rules alone the last series is not converted.
  strict <- conditions_of(read_crn(path, strict = TRUE))
  expect_identical(conditionMessage(strict$warnings[[2]]),
                   paste0(path, ": warning: the input ends inside series 2, before its end marker; that series is not converted"))
  expect_identical(names(strict$value), c("AAA", "samp.depth"))
  expect_identical(rownames(strict$value)[c(1, 13)], c("1850", "1862"))

  cutoff <- shipped("cutoff.crn")
  expect_warning(read_crn(cutoff), paste0(cutoff, ": warning: the input ends inside series 3 (RING03) ",
                                          "without its end marker; its values up to 1869 are converted"),
                 fixed = TRUE, class = "quillet_warning")
})

test_that("a file not converted is a quillet_error with the command line's lines", {
  path <- input_file("badfield")
  error <- tryCatch(read_crn(path), error = identity)
  lines <- c(
    paste0(path, ":1: error: as file type 1: line looks like data (series AAA) but would be passed over as a header line"),
    paste0(path, ":1: error: as file type 6: line looks like data (series AAA) but would be passed over as a header line"),
    paste0(path, ":1: error: as file type 2: line looks like data (series AAA) but would be passed over as a header line"),
    paste0(path, ":2: error: as file type 0: data cannot be read in columns 11-14: \" 1x0\""))
  expect_s3_class(error, c("quillet_error", "error", "condition"), exact = TRUE)
  expect_identical(conditionMessage(error), paste(lines, collapse = "\n"))
  expect_identical(error$lines, lines)
  expect_identical(error$line, 1L)
  expect_identical(error$file, path)

  typed <- tryCatch(read_crn(input_raw("badfield"), type = 0), error = identity)
  expect_identical(conditionMessage(typed), "<raw>:2: error: data cannot be read in columns 11-14: \" 1x0\"")
  expect_identical(typed$line, 2L)
  expect_identical(typed$file, "<raw>")

  span <- tryCatch(read_crn(input_raw("span"), type = 0), error = identity)
  expect_identical(conditionMessage(span), "<raw>: error: year range too long: the limit is 8000 years")
  expect_identical(span$line, NA_integer_)

  missing <- file.path(tempfile(), "none.crn")
  expect_error(read_crn(missing), "No such file or directory", class = "quillet_error")
})
