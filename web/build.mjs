// Bundles the page into one folder: index.html with the page's first part, the editor's part
// and the core's .wasm.
//   node build.mjs CORE_DIR OUT_DIR   (CORE_DIR holds wirevane-core.mjs and .wasm)
import { build } from "esbuild";
import { createHash } from "node:crypto";
import { copyFileSync, mkdirSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
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

// Installable: a manifest with the program's own icons.
const icons = join(here, "../data/icons/hicolor");
copyFileSync(join(icons, "scalable/apps/wirevane.svg"), join(outDir, "wirevane.svg"));
for (const size of [128, 256])
  copyFileSync(join(icons, `${size}x${size}/apps/wirevane.png`), join(outDir, `wirevane-${size}.png`));
const manifest = {
  name: "Wirevane",
  short_name: "Wirevane",
  description: "Type a 3D wireframe object and watch it turn.",
  start_url: "./",
  scope: "./",
  display: "standalone",
  background_color: "#f4f4f2",
  theme_color: "#1558b0",
  icons: [
    { src: "wirevane.svg", sizes: "any", type: "image/svg+xml" },
    { src: "wirevane-128.png", sizes: "128x128", type: "image/png" },
    { src: "wirevane-256.png", sizes: "256x256", type: "image/png" },
  ],
};
writeFileSync(join(outDir, "manifest.webmanifest"), JSON.stringify(manifest, null, 2) + "\n");

// Offline: a service worker that keeps every file of this build, named by their hash so that
// a new build replaces the old files at once.
const files = readdirSync(outDir).sort();
const version = createHash("sha256");
for (const file of files) version.update(file).update(readFileSync(join(outDir, file)));
const worker = readFileSync(join(here, "src/serviceworker.js"), "utf8")
  .replace("__VERSION__", version.digest("hex").slice(0, 16))
  .replace("__FILES__", JSON.stringify(["./", ...files]));
writeFileSync(join(outDir, "sw.js"), worker);
