// SPDX-License-Identifier: GPL-3.0-or-later
// The batch mode from the WebAssembly build, under Node:
//   node web/batch.mjs FILE.C14 --seconds N --csv OUT
// takes the options of `ionaria --batch FILE` and writes the same CSV and the
// same summary. The build is build-web/ beside web/, or IONARIA_WEB_BUILD.
import { createRequire } from "node:module";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const build = path.resolve(process.env.IONARIA_WEB_BUILD ?? path.join(here, "..", "build-web"));
// The emscripten program reads its arguments from process.argv after the
// script's name, runs main on Node's own file system and exits with its status.
process.argv = [process.argv[0], path.join(build, "ionaria_batch.js"), ...process.argv.slice(2)];
createRequire(import.meta.url)(path.join(build, "ionaria_batch.js"));
