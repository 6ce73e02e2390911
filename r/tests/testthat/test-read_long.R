test_that("the long table holds every value with its series' own count", {
  path <- input_file("names")
  long <- read_long(path)
  expect_identical(long, data.frame(
    file = path, series_number = c(1L, 1L, 1L, 2L, 2L, 2L, 3L, 4L),
    series = c(" AB", " AB", " AB", "343099", "343099", "343099", "DUP", "DUP"),
    year = c(1851L, 1852L, 1853L, 1850L, 1851L, 1852L, 1850L, 1850L),
    value = c(0.1, 0.2, 0.3, 0.5, 0.6, 0.7, -0.25, 1.234), count = c(1:3 + 1L, 7:9, 1L, 1L)))
  expect_identical(read_long(input_raw("names"))[-1], long[-1])
  expect_identical(read_long(input_raw("names"))$file[1], "<raw>")

  files <- shipped(c("ring01.crn", "valley.crn"))
  long <- read_long(files)
  expect_identical(as.vector(table(factor(long$file, levels = files))), c(54L, 1756L))
  ring02 <- long[long$file == files[1] & long$series_number == 2L, ]
  expect_identical(nrow(ring02), 24L)
  expect_identical(unique(ring02$count), 2L)
  expect_identical(ring02$value[1:2], c(0.65, 0.826))
  crn <- read_crn(files[1])
  ring01 <- long[long$file == files[1] & long$series_number == 1L, ]
  expect_identical(ring01$count, crn$samp.depth)
})

test_that("a file not converted stops the table, or is left out with a warning", {
  good <- input_file("names")
  bad <- input_file("badfield")
  expect_error(read_long(c(good, bad), type = 0), paste0(bad, ":2: error: data cannot"),
               fixed = TRUE, class = "quillet_error")
  two <- input_file("two")
  got <- conditions_of(read_long(c(bad, good, two), type = 0, errors = "warn"))
  expect_identical(unique(got$value$file), c(good, two))
  expect_identical(nrow(got$value), 8L + 13L + 10L)
  expect_identical(vapply(got$warnings, function(w) class(w)[1], ""), rep("quillet_warning", 3))
  expect_identical(conditionMessage(got$warnings[[1]]),
                   paste0(bad, ":2: error: data cannot be read in columns 11-14: \" 1x0\""))
  expect_identical(got$warnings[[1]]$line, 2L)
})
