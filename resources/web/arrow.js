// Arrow tool (key 2): drag from the tail to the point; repeating the key cycles the style:
// straight, curved, double-headed.
(function () {
  "use strict";
  var WIDTH = 4; // screen pixels when the arrow is made

  function head(tipX, tipY, dirX, dirY, length, half) {
    var baseX = tipX - dirX * length;
    var baseY = tipY - dirY * length;
    return "M" + tipX + " " + tipY +
      " L" + (baseX - dirY * half) + " " + (baseY + dirX * half) +
      " L" + (baseX + dirY * half) + " " + (baseY - dirX * half) + " Z";
  }

  function unit(x, y) {
    var length = Math.hypot(x, y) || 1;
    return [x / length, y / length];
  }

  // The shaft, its hit outline and the heads of one arrow.
  function geometry(item) {
    var dx = item.x2 - item.x1;
    var dy = item.y2 - item.y1;
    var length = Math.hypot(dx, dy);
    var headLength = Math.min(item.width * 4, length * 0.6);
    var half = headLength * 0.65;
    // The shaft stops inside the head so its round cap never shows past the tip.
    var inset = headLength * 0.7;
    var dir = unit(dx, dy);
    if (item.style === "curved") {
      // Bends to the left of the direction of travel by about a sixth of its length.
      var cx = (item.x1 + item.x2) / 2 + dy * 0.35;
      var cy = (item.y1 + item.y2) / 2 - dx * 0.35;
      var tangent = unit(item.x2 - cx, item.y2 - cy);
      var endX = item.x2 - tangent[0] * inset;
      var endY = item.y2 - tangent[1] * inset;
      return {
        shaft: "M" + item.x1 + " " + item.y1 + " Q" + cx + " " + cy + " " + endX + " " + endY,
        hit: "M" + item.x1 + " " + item.y1 + " Q" + cx + " " + cy + " " + item.x2 + " " + item.y2,
        heads: head(item.x2, item.y2, tangent[0], tangent[1], headLength, half)
      };
    }
    var startX = item.x1;
    var startY = item.y1;
    var heads = head(item.x2, item.y2, dir[0], dir[1], headLength, half);
    if (item.style === "double") {
      startX += dir[0] * inset;
      startY += dir[1] * inset;
      heads += " " + head(item.x1, item.y1, -dir[0], -dir[1], headLength, half);
    }
    return {
      shaft: "M" + startX + " " + startY + " L" + (item.x2 - dir[0] * inset) + " " +
        (item.y2 - dir[1] * inset),
      hit: "M" + item.x1 + " " + item.y1 + " L" + item.x2 + " " + item.y2,
      heads: heads
    };
  }

  window.ANNOTATION_TOOLS = window.ANNOTATION_TOOLS || [];
  window.ANNOTATION_TOOLS.push({
    kind: "arrow",
    mode: "add-arrow",
    flag: "addArrowActivated",
    key: "2",
    label: "Arrow",
    layer: "shapes",
    geometry: "line",
    styles: ["straight", "curved", "double"],
    numbers: ["x1", "y1", "x2", "y2", "width"],

    applyStyle: function (item, kit) {
      if (!(item.width > 0)) { item.width = WIDTH * kit.unit; }
    },

    create: function (kit) {
      var group = kit.svg("g");
      group.appendChild(kit.svg("path", { "class": "annotation-hit" }));
      group.appendChild(kit.svg("path", { "class": "annotation-stroke", stroke: kit.colour }));
      group.appendChild(kit.svg("path", { "class": "annotation-fill", fill: kit.colour }));
      return group;
    },

    update: function (group, item, kit) {
      var parts = geometry(item);
      kit.set(group.children[0], { d: parts.hit, "stroke-width": Math.max(item.width, 14 * kit.unit) });
      kit.set(group.children[1], { d: parts.shaft, "stroke-width": item.width });
      kit.set(group.children[2], { d: parts.heads });
    }
  });
})();
