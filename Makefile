# Kestro: `make run` starts the program under Wine, `make test` runs every test.
# Both install what is missing (Debian packages, the MinGW libraries, a Wine prefix) first.

.PHONY: all setup build run test dist bench screenshot format clean

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

# The Windows release: build/dist/Kestro-<version>-win64.zip.
dist: build
	@scripts/dist.sh

# Voice compression speed: GSM and MP3 against sox and lame, as multiples of real time; sending
# speed and memory against curl; the RTF converter and the text part.
bench: build
	@scripts/bench.sh

screenshot: build
	@scripts/screenshot.sh


format:
	@find src tests tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build
