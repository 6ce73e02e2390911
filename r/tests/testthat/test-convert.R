test_that("convert writes the command line's column files and returns their paths", {
  folder <- tempfile()
  dir.create(folder)
  file.copy(shipped(c("ring01.crn", "valley.crn")), folder)
  inputs <- file.path(folder, c("ring01.crn", "valley.crn"))
  expect_invisible(written <- convert(inputs, missing = "NA"))
  expect_identical(written, file.path(folder, c("ring01_COL", "valley_COL")))
  for (name in c("ring01_COL", "valley_COL")) {
    expect_identical(readBin(file.path(folder, name), "raw", 1e6),
                     readBin(test_path(name), "raw", 1e6))
  }
  out <- tempfile()
  dir.create(out)
  expect_identical(convert(inputs[1], type = 1, output_dir = out), file.path(out, "ring01_COL"))
  expect_identical(readLines(file.path(out, "ring01_COL"))[1:2],
                   c(" Year\tN\tRING01  \tRING02  ", "1850\t   3\t 1.031\t 0.000"))
})

test_that("every file that can be converted is, then one quillet_error for those that fail", {
  folder <- tempfile()
  bad <- input_file("badfield", folder)
  two <- input_file("two", folder)
  names <- input_file("names", folder)
  again <- file.path(folder, ".", "names.crn")
  got <- conditions_of(tryCatch(convert(c(bad, two, names, again), type = 0), error = identity))
  error <- got$value
  expect_s3_class(error, "quillet_error")
  expect_identical(conditionMessage(error), paste0(
    bad, ":2: error: data cannot be read in columns 11-14: \" 1x0\"\n",
    again, ": error: its column file ", file.path(folder, ".", "names_COL"),
    " is the table of an earlier FILE of this run"))
  expect_identical(error$file, c(bad, again))
  expect_identical(error$line, c(2L, NA))
  expect_identical(error$written, file.path(folder, c("two_COL", "names_COL")))
  expect_length(got$warnings, 2L)
  expect_true(all(file.exists(file.path(folder, c("two_COL", "names_COL")))))
  expect_false(file.exists(file.path(folder, "badfield_COL")))
})

test_that("options the command line refuses are an error before anything is written", {
  path <- input_file("names")
  for (missing in c("a\tb", "a\nb", "a\rb")) {
    expect_error(convert(path, missing = missing),
                 "the text of --missing may not hold a TAB, CR or LF (it would break the table's columns)",
                 fixed = TRUE, class = "quillet_error")
  }
  expect_error(convert(path, output_dir = file.path(tempfile(), "none")),
               "does not exist", class = "quillet_error")
  expect_false(file.exists(sub("\\.crn$", "_COL", path)))
})

test_that("the package's version is the library's", {
  expect_identical(as.character(utils::packageVersion("quillet")), quillet:::library_version())
})
