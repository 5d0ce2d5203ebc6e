package visualizador.formatos;

import java.io.IOException;
import java.io.StringWriter;
import java.io.UncheckedIOException;
import java.util.ArrayList;
import java.util.Collection;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/** The styles part of a .xlsx: each look becomes a cell format, numbered in the order given. */
final class EstilosXlsx {
    private static final int PRIMEIRO_FORMATO = 164; // below are the built-in number formats
    private final List<EstiloXls> estilos;

    EstilosXlsx(Collection<EstiloXls> estilos) {
        this.estilos = new ArrayList<>(estilos);
    }

    String xml() {
        final Map<String, Integer> formatos = new LinkedHashMap<>();
        for (EstiloXls e : estilos)
            if (e.formato() != null) formatos.computeIfAbsent(e.formato(), k -> PRIMEIRO_FORMATO + formatos.size());
        final StringBuilder s = new StringBuilder("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                + "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">");
        s.append("<numFmts count=\"").append(formatos.size()).append("\">");
        formatos.forEach((codigo, id) -> s.append("<numFmt numFmtId=\"").append(id).append("\" formatCode=\"")
                .append(escapado(codigo)).append("\"/>"));
        s.append("</numFmts><fonts count=\"3\"><font><sz val=\"10\"/><name val=\"Arial\"/></font>"
                + "<font><b/><sz val=\"10\"/><name val=\"Arial\"/></font><font><b/><sz val=\"13\"/><name val=\"Arial\"/></font>"
                + "</fonts><fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill>"
                + "<fill><patternFill patternType=\"gray125\"/></fill><fill><patternFill patternType=\"solid\">"
                + "<fgColor rgb=\"FFC0C0C0\"/><bgColor indexed=\"64\"/></patternFill></fill></fills>"
                + "<borders count=\"2\"><border><left/><right/><top/><bottom/><diagonal/></border>"
                + "<border><left/><right/><top/><bottom style=\"thin\"><color indexed=\"64\"/></bottom><diagonal/></border>"
                + "</borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
                + "</cellStyleXfs><cellXfs count=\"").append(estilos.size()).append("\">");
        for (EstiloXls e : estilos) {
            final int formato = e.formato() == null ? 0 : formatos.get(e.formato());
            final int fonte = e.fonte().ordinal();
            final int fundo = e.tituloColuna() ? 2 : 0;
            s.append("<xf numFmtId=\"").append(formato).append("\" fontId=\"").append(fonte).append("\" fillId=\"")
                    .append(fundo).append("\" borderId=\"").append(e.tituloColuna() ? 1 : 0)
                    .append("\" xfId=\"0\" applyNumberFormat=\"1\" applyFont=\"1\" applyFill=\"1\" applyBorder=\"1\""
                            + " applyAlignment=\"1\"><alignment horizontal=\"")
                    .append(switch (e.alinhamento()) {
                        case ESQUERDA -> "left";
                        case DIREITA -> "right";
                        case CENTRO -> "center";
                    }).append('"').append(e.quebrar() ? " vertical=\"top\" wrapText=\"1\"" : "").append("/></xf>");
        }
        return s.append("</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
                + "</cellStyles></styleSheet>").toString();
    }

    private static String escapado(String s) {
        try {
            final StringWriter w = new StringWriter();
            Marcacao.escapar(s, w);
            return w.toString();
        } catch (IOException e) {
            throw new UncheckedIOException(e);
        }
    }
}
