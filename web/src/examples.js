// The example objects, loaded once a user asks for one.
import cube from "../../examples/cube.txt";
import house from "../../examples/house.txt";
import octahedron from "../../examples/octahedron.txt";
import pyramid from "../../examples/pyramid.txt";
import star from "../../examples/star.txt";

export const examples = { cube, house, octahedron, pyramid, star };
