// SPDX-License-Identifier: GPL-3.0-or-later
// The experiment picture on an HTML canvas: the operations that the module's
// surface kept, replayed as the desktop's surface paints them. At the
// picture's own size (one canvas pixel per picture pixel) nothing is
// smoothed: lines, boxes and circles are laid on whole pixels by hand, since
// a 2D context always smooths its paths. At any other size the context draws
// them smoothed, scaled from the picture's pixels, never stretched.
"use strict";

const IonariaPicture = (() => {
  const width = 417;
  const height = 497;
  const farAway = 32767;
  // The served face of the picture; "Liberation Sans" asked by the module
  // is drawn in it.
  const servedFamily = "Ionaria Liberation Sans";

  const roundHalfEven = (v) => {
    const r = Math.round(v);
    return Math.abs(v % 1) === 0.5 && r % 2 !== 0 ? r - 1 : r;
  };
  const pixel = (v) => (Number.isFinite(v) && Math.abs(v) <= farAway ? roundHalfEven(v) : null);
  const device = (x, y, scaleTop) => {
    const px = pixel(x);
    const py = pixel(y - scaleTop);
    return px === null || py === null ? null : [px, py];
  };
  // Colours come as 0xRRGGBB.
  const css = (c) => `rgb(${c >> 16},${(c >> 8) & 255},${c & 255})`;
  // A colour given to the context is parsed each time: it is given only when
  // it changes, every fill of this file going through here.
  const fillWith = (ctx, c) => {
    flushRect(ctx);
    if (ctx.ionariaFill !== c) {
      ctx.fillStyle = css(c);
      ctx.ionariaFill = c;
    }
  };

  // The module's operations come as one array of numbers, a fixed number a
  // operation in this order (web/Session.cpp), the texts and their families
  // beside it; they are read into objects at once, the array being a view of
  // the module's memory.
  const kinds = ["line", "box", "fillBox", "circle", "arc", "text"];
  const fields = ["kind", "x1", "y1", "x2", "y2", "radius", "start", "end", "aspect", "color",
    "filled", "fill", "width", "scaleTop", "ascent", "pixelSize", "style"];
  const stride = fields.length;
  const bold = 1;
  const italic = 2;
  const operations = (packed) => {
    const n = packed.numbers;
    const texts = packed.texts;
    const ops = [];
    for (let i = 0, t = 0; i < n.length; i += stride) {
      const o = {
        kind: kinds[n[i]], x1: n[i + 1], y1: n[i + 2], x2: n[i + 3], y2: n[i + 4],
        radius: n[i + 5], start: n[i + 6], end: n[i + 7], aspect: n[i + 8], color: n[i + 9],
        filled: n[i + 10] !== 0, fill: n[i + 11], width: n[i + 12], scaleTop: n[i + 13],
      };
      if (o.kind === "text") {
        o.ascent = n[i + 14];
        o.text = texts[t];
        o.font = { family: texts[t + 1], pixelSize: n[i + 15],
          bold: (n[i + 16] & bold) !== 0, italic: (n[i + 16] & italic) !== 0 };
        t += 2;
      }
      ops.push(o);
    }
    return ops;
  };

  const fontOf = (face, size) => {
    const family = face.family === "Liberation Sans" ? servedFamily : face.family;
    return `${face.italic ? "italic " : ""}${face.bold ? "bold " : ""}${size}px "${family}"`;
  };

  // The measurer the module asks: widths, ascents and heights in whole
  // pixels, as a fully hinted face gives them.
  const measurer = () => {
    const ctx = (typeof OffscreenCanvas !== "undefined"
      ? new OffscreenCanvas(1, 1)
      : document.createElement("canvas")).getContext("2d");
    const metrics = (face) => {
      ctx.font = fontOf(face, face.pixelSize);
      return ctx.measureText("");
    };
    return {
      width: (face, text) => {
        ctx.font = fontOf(face, face.pixelSize);
        return Math.round(ctx.measureText(text).width);
      },
      ascent: (face) => Math.ceil(metrics(face).fontBoundingBoxAscent - 0.01),
      height: (face) => {
        const m = metrics(face);
        return Math.ceil(m.fontBoundingBoxAscent - 0.01) + Math.ceil(m.fontBoundingBoxDescent - 0.01);
      },
    };
  };

  // A rectangle of device pixels waits to be filled, so that the next one of
  // the same colour and columns right below it (a gradient's lines) joins it;
  // whatever else is drawn on the context first fills it.
  const flushRect = (ctx) => {
    const r = ctx.ionariaRect;
    if (!r) return;
    ctx.ionariaRect = null;
    fillWith(ctx, r.color);
    ctx.fillRect(r.x, r.y, r.w, r.h);
  };

  // Whole picture pixels [x, y, w, h], their edges rounded to the device's.
  const fillPixels = (ctx, s, x, y, w, h, color) => {
    const left = Math.round(x * s);
    const top = Math.round(y * s);
    const right = Math.max(left + 1, Math.round((x + w) * s));
    const bottom = Math.max(top + 1, Math.round((y + h) * s));
    const r = ctx.ionariaRect;
    if (r && r.color === color && r.x === left && r.w === right - left && r.y + r.h === top) {
      r.h += bottom - top;
      return;
    }
    flushRect(ctx);
    ctx.ionariaRect = { color, x: left, y: top, w: right - left, h: bottom - top };
  };
  const corners = (a, b) => {
    const x = Math.min(a[0], b[0]);
    const y = Math.min(a[1], b[1]);
    return [x, y, Math.max(a[0], b[0]) - x + 1, Math.max(a[1], b[1]) - y + 1];
  };

  // A one-pixel line of whole pixels, both ends included: the pixels that
  // follow each other along a row or a column go as one rectangle.
  const bresenham = (ctx, a, b, color) => {
    fillWith(ctx, color);
    let [x, y] = a;
    const dx = Math.abs(b[0] - x);
    const dy = -Math.abs(b[1] - y);
    const sx = x < b[0] ? 1 : -1;
    const sy = y < b[1] ? 1 : -1;
    let err = dx + dy;
    let runX = x;
    let runY = y;
    let runW = 1;
    let runH = 1;
    for (;;) {
      if (x === b[0] && y === b[1]) break;
      const e2 = 2 * err;
      if (e2 >= dy) { err += dy; x += sx; }
      if (e2 <= dx) { err += dx; y += sy; }
      if (y === runY && runH === 1 && (x === runX + runW || x === runX - 1)) {
        runX = Math.min(runX, x);
        ++runW;
      } else if (x === runX && runW === 1 && (y === runY + runH || y === runY - 1)) {
        runY = Math.min(runY, y);
        ++runH;
      } else {
        ctx.fillRect(runX, runY, runW, runH);
        runX = x;
        runY = y;
        runW = 1;
        runH = 1;
      }
    }
    ctx.fillRect(runX, runY, runW, runH);
  };

  const stroke = (ctx, s, o, crisp) => {
    flushRect(ctx);
    ctx.strokeStyle = css(o.color);
    ctx.lineWidth = o.width * s;
    ctx.lineCap = o.width > 1 ? "round" : "square";
    ctx.lineJoin = o.width > 1 ? "round" : "miter";
    // Whole pixels: a path through their centres.
    return crisp ? 0.5 : 0;
  };

  const line = (ctx, s, o, crisp) => {
    const a = device(o.x1, o.y1, o.scaleTop);
    const b = device(o.x2, o.y2, o.scaleTop);
    if (!a || !b) return;
    if (o.width === 1 && (a[0] === b[0] || a[1] === b[1])) {
      // The end point is left out, as on the desktop.
      if (a[0] === b[0] && a[1] === b[1]) return;
      const last = [b[0] - Math.sign(b[0] - a[0]), b[1] - Math.sign(b[1] - a[1])];
      const [x, y, w, h] = corners(a, last);
      fillPixels(ctx, s, x, y, w, h, o.color);
      return;
    }
    if (crisp && o.width === 1) {
      bresenham(ctx, a, b, o.color);
      return;
    }
    const half = stroke(ctx, s, o, crisp);
    ctx.beginPath();
    ctx.moveTo(a[0] * s + half, a[1] * s + half);
    ctx.lineTo(b[0] * s + half, b[1] * s + half);
    ctx.stroke();
  };

  const box = (ctx, s, o, crisp) => {
    const a = device(o.x1, o.y1, o.scaleTop);
    const b = device(o.x2, o.y2, o.scaleTop);
    if (!a || !b) return;
    const [x, y, w, h] = corners(a, b);
    if (o.kind === "fillBox") {
      fillPixels(ctx, s, x, y, w, h, o.color);
      return;
    }
    if (o.filled) fillPixels(ctx, s, x, y, w, h, o.fill);
    if (o.width === 1) {
      fillPixels(ctx, s, x, y, w, 1, o.color);
      fillPixels(ctx, s, x, y + h - 1, w, 1, o.color);
      fillPixels(ctx, s, x, y, 1, h, o.color);
      fillPixels(ctx, s, x + w - 1, y, 1, h, o.color);
      return;
    }
    const half = stroke(ctx, s, o, crisp);
    ctx.lineJoin = "miter";
    ctx.strokeRect(x * s + half, y * s + half, (w - 1) * s, (h - 1) * s);
  };

  // A disc of whole pixels: those whose centre lies within the radius and
  // half the pen of the centre's pixel, the pen's ring over the fill.
  const discPixels = (ctx, c, r, o) => {
    const outer = r + o.width / 2;
    const inner = Math.max(0, r - o.width / 2);
    const reach = Math.ceil(outer);
    // Row by row: |dx| up to the outer edge, the ring beyond the inner one.
    const halfSpan = (limit, dy) => {
      let x = -1;
      while ((x + 1) * (x + 1) + dy * dy <= limit * limit) ++x;
      return x;
    };
    // The pixels strictly inside the inner edge are the fill's.
    const insideSpan = (dy) => {
      let x = -1;
      while ((x + 1) * (x + 1) + dy * dy < inner * inner) ++x;
      return x;
    };
    // A colour given to the context is parsed: each once a disc.
    if (o.filled) {
      fillWith(ctx, o.fill);
      for (let dy = -reach; dy <= reach; ++dy) {
        const inside = insideSpan(dy);
        if (inside >= 0) ctx.fillRect(c[0] - inside, c[1] + dy, 2 * inside + 1, 1);
      }
    }
    fillWith(ctx, o.color);
    for (let dy = -reach; dy <= reach; ++dy) {
      const out = halfSpan(outer, dy);
      if (out < 0) continue;
      const inside = insideSpan(dy);
      if (inside < 0) {
        ctx.fillRect(c[0] - out, c[1] + dy, 2 * out + 1, 1);
      } else if (out > inside) {
        ctx.fillRect(c[0] - out, c[1] + dy, out - inside, 1);
        ctx.fillRect(c[0] + inside + 1, c[1] + dy, out - inside, 1);
      }
    }
  };

  // The particles are many small discs of few kinds: each kind is laid once
  // on a canvas of its own, copied whole pixel for whole pixel afterwards
  // (its pixels wholly opaque or wholly clear).
  const discs = new Map();
  const discMost = 256;
  const pixelDisc = (ctx, c, r, o) => {
    const reach = Math.ceil(r + o.width / 2);
    if (reach > 32) {
      discPixels(ctx, c, r, o);
      return;
    }
    const key = `${r} ${o.width} ${o.filled ? o.fill : -1} ${o.color}`;
    let sprite = discs.get(key);
    if (!sprite) {
      if (discs.size >= discMost) discs.clear();
      // Its pixels are laid without a canvas: the particles' colours follow
      // the solutions', so that new kinds come often.
      const size = 2 * reach + 1;
      const layer = new Pixels(size, size);
      discPixels(layer, [reach, reach], r, o);
      sprite = { size, pixels: layer.words, data: layer.image, image: null };
      discs.set(key, sprite);
    }
    flushRect(ctx);
    if (ctx.stamp) {
      ctx.stamp(sprite, c[0] - reach, c[1] - reach);
      return;
    }
    if (!sprite.image) {
      // A bitmap is copied faster than a canvas, which is copied as it is
      // at each copy.
      const size = sprite.size;
      const layer = typeof OffscreenCanvas !== "undefined" ? new OffscreenCanvas(size, size)
        : Object.assign(document.createElement("canvas"), { width: size, height: size });
      layer.getContext("2d").putImageData(sprite.data, 0, 0);
      sprite.image = layer.transferToImageBitmap ? layer.transferToImageBitmap() : layer;
    }
    ctx.drawImage(sprite.image, c[0] - reach, c[1] - reach);
  };

  const circle = (ctx, s, o, crisp) => {
    const c = device(o.x1, o.y1, o.scaleTop);
    const r = pixel(o.radius);
    if (!c || r === null || r < 0) return;
    if (crisp) {
      pixelDisc(ctx, c, r, o);
      return;
    }
    const half = stroke(ctx, s, o, crisp);
    ctx.beginPath();
    ctx.arc(c[0] * s + half, c[1] * s + half, r * s, 0, 2 * Math.PI);
    if (o.filled) {
      fillWith(ctx, o.fill);
      ctx.fill();
    }
    ctx.stroke();
  };

  // An arc of whole pixels: those whose centre lies within half the pen of
  // the ellipse, at an angle of the span (the angle of the circle that the
  // ellipse stretches, counter-clockwise from the rightmost point).
  // An arc's runs of pixels are long to find and the same at each painting
  // of the montage (the salt bridge's arcs): they are kept by shape, as
  // [dx, dy, length] from the centre.
  const arcRuns = new Map();
  const arcRunsMost = 512;
  const pixelArc = (ctx, c, rx, ry, start, span, o) => {
    if (rx <= 0 || ry <= 0) return;
    fillWith(ctx, o.color);
    const key = `${rx} ${ry} ${start} ${span} ${o.width}`;
    let runs = arcRuns.get(key);
    if (!runs) {
      if (arcRuns.size >= arcRunsMost) arcRuns.clear();
      runs = arcRunsOf(rx, ry, start, span, o.width);
      arcRuns.set(key, runs);
    }
    for (let i = 0; i < runs.length; i += 3) {
      ctx.fillRect(c[0] + runs[i], c[1] + runs[i + 1], runs[i + 2], 1);
    }
  };
  const arcRunsOf = (rx, ry, start, span, width) => {
    const runs = [];
    const half = Math.max(0.5, width / 2);
    const turn = 2 * Math.PI;
    const onArc = (dx, dy) => {
      const f = (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) - 1;
      const g = Math.hypot((2 * dx) / (rx * rx), (2 * dy) / (ry * ry));
      if (g === 0 || Math.abs(f / g) > half) return false;
      let angle = Math.atan2(-dy / ry, dx / rx) - start;
      angle -= Math.floor(angle / turn) * turn;
      return angle <= span;
    };
    const reachY = Math.ceil(ry + half);
    // Along a row only the pixels between the pen's inner and outer
    // ellipses, with a pixel of margin, can lie on the arc.
    const across = (a, b, dy) => (Math.abs(dy) >= b ? 0 : a * Math.sqrt(1 - (dy * dy) / (b * b)));
    for (let dy = -reachY; dy <= reachY; ++dy) {
      const outer = Math.ceil(across(rx + half, ry + half, dy)) + 1;
      const inner = Math.max(0, Math.floor(across(rx - half, ry - half, dy)) - 1);
      for (let dx = -outer; dx <= outer; ++dx) {
        if (dx > -inner && dx < inner) dx = inner;
        if (!onArc(dx, dy)) continue;
        // A run of pixels of the row goes as one rectangle.
        let run = 1;
        while (dx + run <= outer && onArc(dx + run, dy)) ++run;
        runs.push(dx, dy, run);
        dx += run - 1;
      }
    }
    return runs;
  };

  const arc = (ctx, s, o, crisp) => {
    const c = device(o.x1, o.y1, o.scaleTop);
    if (!c) return;
    const rx = o.aspect <= 1 ? o.radius : o.radius / o.aspect;
    const ry = o.aspect <= 1 ? o.radius * o.aspect : o.radius;
    let span = o.end - o.start;
    if (span < 0) span += 2 * Math.PI;
    // The desktop draws whole sixteenths of a degree.
    const sixteenths = (180 / Math.PI) * 16;
    const start = Math.round(o.start * sixteenths) / sixteenths;
    span = Math.round(span * sixteenths) / sixteenths;
    if (crisp) {
      pixelArc(ctx, c, rx, ry, start, span, o);
      return;
    }
    const half = stroke(ctx, s, o, crisp);
    ctx.beginPath();
    // Counter-clockwise on the screen, whose y runs downwards.
    ctx.ellipse(c[0] * s + half, c[1] * s + half, rx * s, ry * s, 0, -start, -(start + span), true);
    ctx.stroke();
  };

  const text = (ctx, s, o) => {
    const at = device(o.x1, o.y1, o.scaleTop);
    if (!at) return;
    // A font given to the context is parsed: given only when it changes.
    const font = fontOf(o.font, o.font.pixelSize * s);
    if (ctx.ionariaFont !== font) {
      ctx.font = font;
      ctx.ionariaFont = font;
    }
    fillWith(ctx, o.color);
    ctx.fillText(o.text, at[0] * s, (at[1] + o.ascent) * s);
  };

  const painters = { line, box, fillBox: box, circle, arc, text };

  const paint = (ctx, s, ops, from = 0) => {
    const crisp = s === 1;
    for (let i = from; i < ops.length; ++i) {
      const o = ops[i];
      const p = painters[o.kind];
      if (p) p(ctx, s, o, crisp);
    }
    flushRect(ctx);
  };

  // The picture's pixels at its own size, as 0xAABBGGRR words (an
  // ImageData's bytes read on a little-endian machine), which the crisp
  // painters fill as they would a context: a copy of the background, then
  // the frame's discs, boxes and one-pixel lines written word by word, put
  // on the canvas at once. A context copies each of a hundred small discs
  // at a cost that writing their pixels does not have.
  class Pixels {
    constructor(w, h) {
      this.width = w;
      this.height = h;
      this.image = new ImageData(w, h);
      this.words = new Uint32Array(this.image.data.buffer);
    }

    // What the crisp painters do with a context.
    fillRect(x, y, w, h) {
      const c = this.ionariaFill;
      const word = (0xff000000 | ((c & 0xff) << 16) | (c & 0xff00) | ((c >> 16) & 0xff)) >>> 0;
      const left = Math.max(0, x);
      const right = Math.min(this.width, x + w);
      const top = Math.max(0, y);
      const bottom = Math.min(this.height, y + h);
      if (left >= right) return;
      for (let row = top; row < bottom; ++row) {
        this.words.fill(word, row * this.width + left, row * this.width + right);
      }
    }

    // A disc's opaque pixels; its clear ones leave what is below.
    stamp(sprite, x, y) {
      const n = sprite.size;
      const from = sprite.pixels;
      for (let dy = 0; dy < n; ++dy) {
        const row = y + dy;
        if (row < 0 || row >= this.height) continue;
        for (let dx = 0; dx < n; ++dx) {
          const col = x + dx;
          const word = from[dy * n + dx];
          if (word >>> 24 === 0xff && col >= 0 && col < this.width) {
            this.words[row * this.width + col] = word;
          }
        }
      }
    }
  }

  // What web/view.js draws with.
  return { width, height, measurer, paint, operations, painters, fillWith, flushRect, device,
    Pixels };
})();
