without_attributes <- function(crn) {
  attr(crn, "file_type") <- attr(crn, "series") <- attr(crn, "conventions") <- NULL
  crn
}

test_that("the shipped examples read equal to their column files", {
  for (name in c("ring01", "valley")) {
    crn <- read_crn(shipped(paste0(name, ".crn")))
    expect_identical(without_attributes(crn), column_file_crn(test_path(paste0(name, "_COL"))))
  }
  crn <- read_crn(shipped("ring01.crn"))
  expect_identical(names(crn), c("RING01", "RING02", "samp.depth"))
  expect_identical(rownames(crn)[1:2], c("1850", "1851"))
  expect_identical(unname(unlist(crn[4, ])), c(0.749, 0.65, 3))
  expect_identical(crn$samp.depth[c(1, 30)], c(3L, 8L))
  expect_identical(crn$RING02[c(3, 4, 27, 28)], c(NA, 0.65, 0.661, NA))
})

test_that("the attributes give the file type, each series and the conventions", {
  crn <- read_crn(shipped("ring01.crn"))
  expect_identical(attr(crn, "file_type"), 1L)
  series <- attr(crn, "series")
  expect_identical(series$name, c("RING01", "RING02"))
  expect_identical(series$first_year, c(1850L, 1853L))
  expect_identical(series$last_year, c(1879L, 1876L))
  expect_identical(series$label, c("STD     ", "RES     "))
  expect_identical(series$header_lines[[2]], c(
    "RNG    1 RING02 EXAMPLE CHRONOLOGY                         PIPA",
    "RNG    2 EXAMPLE RIDGE  LONGLEAF PINE                      1850 1879",
    "RNG    3 QUILLET EXAMPLE FILE"))
  expect_identical(attr(crn, "conventions"), character())
  expect_identical(attr(read_crn(input_file("names")), "file_type"), 0L)
})

test_that("names keep leading blanks and are made unique; NA outside each series' years", {
  crn <- read_crn(input_file("names"))
  expect_identical(names(crn), c(" AB", "343099", "DUP", "DUP.1", "samp.depth"))
  expect_identical(rownames(crn), c("1850", "1851", "1852", "1853"))
  expect_identical(crn[[1]], c(NA, 0.1, 0.2, 0.3))
  expect_identical(crn[[2]], c(0.5, 0.6, 0.7, NA))
  expect_identical(crn[[3]], c(-0.25, NA, NA, NA))
  expect_identical(crn[[4]], c(1.234, NA, NA, NA))
  expect_identical(crn$samp.depth, c(0L, 2L, 3L, 4L))
  expect_s3_class(crn, c("crn", "data.frame"), exact = TRUE)
})

test_that("the rows run as the column file's years do, beyond 8000 and before 0", {
  late <- read_crn(input_file("late"))
  expect_identical(nrow(late), 1003L)
  expect_identical(rownames(late)[c(1, 1001, 1003)], c("8000", "9000", "9002"))
  expect_identical(late$LATE[c(1, 1000, 1001, 1003)], c(NA, NA, 0.1, 0.3))
  bc <- read_crn(input_file("bc"))
  expect_identical(nrow(bc), 501L)
  expect_identical(rownames(bc)[c(1, 3, 500, 501)], c("-500", "-498", "-1", "0"))
  expect_identical(bc$EARLY[1:4], c(0.4, 0.5, 0.6, NA))
})

test_that("a path and a raw vector read alike, with the same file type given or found", {
  for (name in c("names", "bc", "two")) {
    expect_identical(suppressWarnings(read_crn(input_raw(name), type = 0)),
                     suppressWarnings(read_crn(input_file(name))))
  }
  path <- input_file("names")
  expect_identical(read_crn(path, type = "0"), read_crn(path))
  expect_error(read_crn(path, type = 10), "'type' must be")
  expect_error(read_crn(c(path, path)), "'file' must be")
})
