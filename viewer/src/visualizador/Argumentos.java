package visualizador;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;

/**
 * The viewer's command line as the launcher sends it: service, report path without extension,
 * format, "S" (confirm the parameters first) or "N", then KEY=VALUE pairs in order.
 */
public record Argumentos(String servico, Path relatorio, Formato formato, boolean confirmar,
                         List<Map.Entry<String, String>> parametros) {

    public static final String USO = "Uso: java -jar jasperviewer.jar SERVIÇO RELATÓRIO VIS|PDF|XLS|HTML|CSV S|N [CHAVE=VALOR ...]";

    public static Argumentos analisar(String[] args) throws ErroRelatorio {
        if (args.length < 4)
            throw new ErroRelatorio("Argumentos insuficientes (" + args.length + " de pelo menos 4).\n" + USO);
        if (args[0].isBlank()) throw new ErroRelatorio("O nome do serviço de conexão está vazio.\n" + USO);
        if (args[1].isBlank()) throw new ErroRelatorio("O caminho do relatório está vazio.\n" + USO);
        final Formato formato = Formato.doCodigo(args[2]);
        final boolean confirmar;
        switch (args[3]) {
            case "S" -> confirmar = true;
            case "N" -> confirmar = false;
            default -> throw new ErroRelatorio("O quarto argumento deve ser S (confirmar os parâmetros) ou N, não \""
                    + args[3] + "\".\n" + USO);
        }
        final List<Map.Entry<String, String>> parametros = new ArrayList<>();
        for (int i = 4; i < args.length; i++) {
            final int igual = args[i].indexOf('=');
            final Map.Entry<String, String> anterior = parametros.isEmpty() ? null : parametros.get(parametros.size() - 1);
            if (igual <= 0 && anterior != null && anterior.getValue().endsWith(",")) {
                // The launcher splits every value at blanks, so a list typed "1, 2" arrives as
                // "P_EMP=1," and "2". A trailing comma says the value goes on; nothing else does.
                parametros.set(parametros.size() - 1, Map.entry(anterior.getKey(), anterior.getValue() + args[i]));
            } else if (igual <= 0) {
                throw new ErroRelatorio(solto(args[i], anterior));
            } else {
                parametros.add(Map.entry(args[i].substring(0, igual), args[i].substring(igual + 1)));
            }
        }
        final Path relatorio;
        try {
            relatorio = Path.of(args[1]);
        } catch (java.nio.file.InvalidPathException e) {
            throw new ErroRelatorio("Caminho de relatório inválido: \"" + args[1] + "\".");
        }
        return new Argumentos(args[0], relatorio, formato, confirmar, List.copyOf(parametros));
    }

    private static String solto(String argumento, Map.Entry<String, String> anterior) {
        final String onde = anterior == null ? "" : ", logo depois de " + anterior.getKey() + "=" + anterior.getValue();
        return "O relatório recebeu \"" + argumento + "\" sem dizer a que filtro pertence" + onde + ".\n"
                + "Se faz parte de uma lista de códigos, separe os códigos por vírgula (1,2 ou 1, 2), não só por espaço.";
    }
}
