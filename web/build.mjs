// Bundles the page into one folder: index.html with the page's first part, the editor's part
// and the core's .wasm.
//   node build.mjs CORE_DIR OUT_DIR   (CORE_DIR holds wirevane-core.mjs and .wasm)
import { build } from "esbuild";
import { createHash } from "node:crypto";
import { copyFileSync, mkdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const [coreDir, outDir] = process.argv.slice(2).map((p) => resolve(p));
rmSync(outDir, { recursive: true, force: true });
mkdirSync(outDir, { recursive: true });
await build({
  entryPoints: [join(here, "src/main.js")],
  bundle: true,
  format: "esm",
  minify: true,
  target: "es2022",
  splitting: true, // the editor in a second file, loaded after the first picture
  outdir: outDir,
  entryNames: "app",
  chunkNames: "[name]-[hash]",
  alias: { "wirevane-core": join(coreDir, "wirevane-core.mjs") },
  loader: { ".txt": "text" },
  logLevel: "warning",
});
copyFileSync(join(coreDir, "wirevane-core.wasm"), join(outDir, "wirevane-core.wasm"));
// The page's first part goes into index.html itself, one request less before the first
// picture; the page's policy allows exactly that script by its hash.
const app = readFileSync(join(outDir, "app.js"), "utf8").replace(/<\/script/gi, "<\\/script");
rmSync(join(outDir, "app.js"));
const hash = createHash("sha256").update(app).digest("base64");
const html = readFileSync(join(here, "index.html"), "utf8")
  .replace("script-src 'self'", `script-src 'self' 'sha256-${hash}'`)
  .replace('<script type="module" src="app.js"></script>', () => `<script type="module">${app}</script>`);
writeFileSync(join(outDir, "index.html"), html);
