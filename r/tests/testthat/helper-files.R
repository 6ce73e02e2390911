# Inputs written for the tests (decade lines, no header lines: file type 0) and the files the
# package ships. The expected texts are the command line's, written out in the tests.
inputs <- list(
  # a leading blank, a name of digits, the same name twice; the second series has its own counts
  names = c(" AB   1851        100  2 200  3 300  49990  0",
            "3430991850 500  7 600  8 700  99990  0",
            "DUP   1850-250  19990  0",
            "DUP   18501234  19990  0"),
  late = "LATE  9000 100  1 200  1 300  19990  0",
  bc = "EARLY -500 400  2 500  2 600  29990  0",
  span = c("LATE  9000 100  19990  0",
           "EARLY -500 400  29990  0"),
  # a second series' line read into the first, then a last series cut off
  two = c("AAA   1850 100  1 100  1 100  1 100  1 100  1 100  1 100  1 100  1 100  1 100  1",
          "BBB   1860 200  2 200  2 200  29990  0",
          "CCC   1870 300  3 400  3"),
  badfield = c("AAA   1850 100  19990  0",
               "BBB   1850 1x0  1")
)

# The input written to a file NAME.crn in a fresh folder; its path.
input_file <- function(name, folder = tempfile()) {
  dir.create(folder, showWarnings = FALSE)
  path <- file.path(folder, paste0(name, ".crn"))
  writeLines(inputs[[name]], path)
  path
}
input_raw <- function(name) charToRaw(paste0(paste(inputs[[name]], collapse = "\n"), "\n"))

shipped <- function(name) system.file("extdata", name, package = "quillet", mustWork = TRUE)

# A column file written with --missing NA, as read_crn gives it.
column_file_crn <- function(path) {
  header <- strsplit(readLines(path, n = 1L), "\t", fixed = TRUE)[[1]]
  table <- utils::read.delim(path, colClasses = "character", strip.white = TRUE)
  columns <- lapply(table[-(1:2)], function(v) as.numeric(ifelse(v == "NA", NA, v)))
  columns$samp.depth <- as.integer(table[[2]])
  names(columns) <- make.unique(c(sub(" +$", "", header[-(1:2)]), "samp.depth"))
  structure(columns, row.names = as.character(as.integer(table[[1]])),
            class = c("crn", "data.frame"))
}

# The conditions a call signals, by class, and its value.
conditions_of <- function(expr) {
  warnings <- list()
  value <- withCallingHandlers(expr, warning = function(w) {
    warnings[[length(warnings) + 1L]] <<- w
    invokeRestart("muffleWarning")
  })
  list(value = value, warnings = warnings)
}
