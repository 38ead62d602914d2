# Ravelbook: the two commands a user needs are `make run` and `make test`.
# Both install whatever is missing first (see scripts/setup.sh), then build
# what they need (scripts/build.sh): `make run` only the program, `make test`
# everything, reusing what `make run` built.

BUILD   := build
T       ?=
CTEST_ARGS := $(if $(T),-R '$(T)',)
# The display scale of make test/run/gallery/screenshots/bench, in pixels an
# inch: 96 is 100 %, 144 is 150 %, 192 is 200 % (make test DPI=144). Each run
# writes it into the Wine prefix, so the next plain run is at 96 again.
DPI     ?= 96
export RAVELBOOK_DPI := $(DPI)

.PHONY: all setup build run screenshots gallery test smoke32 bench fuzz clean readme-images

all: build

setup:
	@bash scripts/setup.sh

build: setup
	@RAVELBOOK_COMMAND="make build" bash scripts/build.sh all

# The program, its converter and its skins; then the program starts.
run: setup
	@RAVELBOOK_COMMAND="make run" bash scripts/build.sh run
	@bash scripts/run.sh

# Without a display: the main window and the other windows, skinned and
# plain, in build/screenshots/ (made by the screenshot tests).
screenshots: setup
	@RAVELBOOK_COMMAND="make screenshots" bash scripts/build.sh screens
	@bash scripts/run.sh --screenshots

# The skin gallery: every control family skinned (ARGS="--skin FILE" loads a skin file).
gallery: setup
	@RAVELBOOK_COMMAND="make gallery" bash scripts/build.sh gallery
	@bash scripts/gallery.sh $(ARGS)

test: build
	@bash scripts/test.sh $(CTEST_ARGS)

# The smoke run of the 32-bit program that ships, alone. Where 32-bit code
# runs natively it is also one of `make test`'s tests; where it is emulated
# only here (it takes many minutes there; see scripts/smoke32.sh).
smoke32: build
	@bash scripts/test.sh -R '^smoke_shipped_program$$'

bench: setup
	@RAVELBOOK_COMMAND="make bench" bash scripts/build.sh bench
	@bash scripts/bench.sh

fuzz: setup
	@bash scripts/sqlite.sh
	@bash fuzz/run.sh

# The README's pictures of the program in its skins (docs/images/).
readme-images: build
	@bash scripts/readme_images.sh

clean:
	rm -rf $(BUILD) build64
