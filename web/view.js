// SPDX-License-Identifier: GPL-3.0-or-later
// The picture on a canvas element, from web/picture.js's painters: the
// session's background drawn again only when it changes, and at the
// picture's own size the frame written over a copy of its pixels.

"use strict";

IonariaPicture.View = (() => {
  const { width, height, measurer, paint, operations, painters, fillWith, flushRect, device, Pixels } =
    IonariaPicture;

  // The box of device pixels that a whole-pixel operation may touch at the
  // picture's own size, [left, top, right, bottom], or null.
  const extent = (o) => {
    const a = device(o.x1, o.y1, o.scaleTop);
    if (!a) return null;
    if (o.kind === "circle" || o.kind === "arc") {
      const r = Math.max(o.radius, o.radius * o.aspect, o.radius / o.aspect) + o.width + 1;
      return Number.isFinite(r) ? [a[0] - r, a[1] - r, a[0] + r, a[1] + r] : null;
    }
    const b = device(o.x2, o.y2, o.scaleTop);
    if (!b) return null;
    return [Math.min(a[0], b[0]), Math.min(a[1], b[1]), Math.max(a[0], b[0]), Math.max(a[1], b[1])];
  };
  const meets = (p, q) => p[0] <= q[2] && q[0] <= p[2] && p[1] <= q[3] && q[1] <= p[3];

  // Whether a crisp painter lays the operation on whole pixels only, with
  // no path or text of the context.
  const wholePixels = (o) => o.kind === "fillBox" || o.kind === "circle" || o.kind === "arc" ||
    ((o.kind === "line" || o.kind === "box") && o.width === 1);

  // The picture on a canvas element at a zoom, sharp at the screen's
  // device-pixel ratio: the background is drawn again only when it changes.
  class View {
    constructor(canvas, session) {
      this.canvas = canvas;
      this.session = session;
      this.zoom = 1;
      this.version = -1;
      this.scale = 0;
      this.background = document.createElement("canvas");
      // Its pixels are read after each painting: a context made for reading
      // gives them without waiting for a graphics processor.
      this.background.getContext("2d", { willReadFrequently: true });
    }

    setZoom(zoom) {
      this.zoom = zoom;
    }

    draw() {
      const ratio = typeof devicePixelRatio === "number" ? devicePixelRatio : 1;
      const s = this.zoom * ratio;
      const w = Math.round(width * s);
      const h = Math.round(height * s);
      if (this.canvas.width !== w || this.canvas.height !== h || s !== this.scale) {
        this.canvas.width = w;
        this.canvas.height = h;
        this.canvas.style.width = `${w / ratio}px`;
        this.canvas.style.height = `${h / ratio}px`;
        this.background.width = w;
        this.background.height = h;
        this.scale = s;
        this.version = -1;
        this.backgroundWords = undefined;
        // A canvas given a size starts again from the context's defaults.
        for (const c of [this.canvas, this.background]) {
          c.getContext("2d").ionariaFill = undefined;
          c.getContext("2d").ionariaFont = undefined;
        }
      }
      const version = this.session.backgroundVersion();
      if (version !== this.version) {
        const b = this.background.getContext("2d");
        fillWith(b, 0xffffff);
        b.fillRect(0, 0, w, h);
        paint(b, s, operations(this.session.backgroundOps()));
        this.backgroundWords = s === 1 ? new Uint32Array(b.getImageData(0, 0, w, h).data.buffer)
          : undefined;
        this.version = version;
      }
      const ctx = this.canvas.getContext("2d");
      const ops = operations(this.session.frameOps());
      if (!this.backgroundWords) {
        ctx.drawImage(this.background, 0, 0);
        paint(ctx, s, ops);
        return;
      }
      // At the picture's own size the frame's first whole-pixel operations
      // are written over a copy of the background's pixels, the rest (the
      // texts, mostly) drawn by the context over them.
      if (!this.pixels || this.pixels.width !== w || this.pixels.height !== h) {
        this.pixels = new Pixels(w, h);
      }
      const pixels = this.pixels;
      pixels.words.set(this.backgroundWords);
      // A text waits to be drawn over the pixels, as long as no later
      // whole-pixel operation comes near its box: in the frame, the labels
      // of the electrodes lie between the particles.
      const waiting = [];
      let i = 0;
      for (; i < ops.length; ++i) {
        const o = ops[i];
        if (o.kind === "text") {
          const box = this.textBox(o);
          if (!box) break;
          waiting.push([o, box]);
          continue;
        }
        if (!wholePixels(o)) break;
        const reach = extent(o);
        if (!reach || waiting.some(([, box]) => meets(box, reach))) break;
        painters[o.kind](pixels, s, o, true);
      }
      flushRect(pixels);
      ctx.putImageData(pixels.image, 0, 0);
      for (const [o] of waiting) painters.text(ctx, s, o);
      paint(ctx, s, ops, i);
    }

    // The pixels a text may touch at the picture's own size, [left, top,
    // right, bottom]: no glyph of the picture's faces is wider than its
    // size, nor taller than twice it, and a margin holds the antialiasing
    // and the slant.
    textBox(o) {
      const at = device(o.x1, o.y1, o.scaleTop);
      if (!at) return null;
      const size = o.font.pixelSize;
      const margin = 4;
      return [at[0] - margin, at[1] - margin, at[0] + o.text.length * size + margin,
        at[1] + 2 * size + margin];
    }

    // Which device pixels lie in the box of a text, a pixel around it
    // included: one flag a pixel, row by row.
    textMask() {
      const s = this.scale;
      const w = this.canvas.width;
      const h = this.canvas.height;
      const mask = new Uint8Array(w * h);
      const m = measurer();
      const ops = [...operations(this.session.backgroundOps()),
        ...operations(this.session.frameOps())];
      for (const o of ops) {
        const at = o.kind === "text" ? device(o.x1, o.y1, o.scaleTop) : null;
        if (!at) continue;
        const left = Math.max(0, Math.floor((at[0] - 1) * s));
        const top = Math.max(0, Math.floor((at[1] - 1) * s));
        const right = Math.min(w, Math.ceil((at[0] + m.width(o.font, o.text) + 1) * s));
        const bottom = Math.min(h, Math.ceil((at[1] + m.height(o.font) + 1) * s));
        for (let y = top; y < bottom; ++y) mask.fill(1, y * w + left, Math.max(y * w + left, y * w + right));
      }
      return mask;
    }
  }

  return View;
})();
