# Kestro: `make run` starts the program under Wine, `make test` runs every test.
# Both install what is missing (Debian packages, the MinGW libraries, a Wine prefix) first.

.PHONY: all setup build run test fuzz dist bench screenshot format clean

all: build

setup:
	@scripts/setup-packages.sh
	@scripts/build-mingw-deps.sh

build: setup
	@scripts/build.sh

run: build
	@scripts/run.sh

test: build
	@scripts/test.sh

# Every parser's libFuzzer target, FUZZ_SECONDS (default 60) each, from the committed seeds;
# findings go to build/fuzz-findings. Needs no MinGW libraries or Wine.
fuzz:
	@scripts/fuzz.sh

# The Windows release: build/dist/Kestro-<version>-win64.zip.
dist: build
	@scripts/dist.sh

# Voice compression speed: GSM and MP3 against sox and lame, as multiples of real time; sending
# speed and memory against curl; the RTF converter and the text part; Motion-JPEG compression
# against ffmpeg and the Screen capture source's frame rate.
bench: build
	@scripts/bench.sh

screenshot: build
	@scripts/screenshot.sh


format:
	@find src tests tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build
